#include "core/WorkspaceFile.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QFile>

namespace core {
namespace {

// Hands out the lines of a text one at a time; CR LF, CR and LF all end a
// line, and reading past the last line fails.
class LineReader
{
public:
    explicit LineReader(const QString &text) : m_text(text) {}

    std::optional<QString> next()
    {
        if (m_pos >= m_text.size())
            return std::nullopt;
        const int start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n')
            ++m_pos;
        const QString line = m_text.mid(start, m_pos - start);
        if (m_pos < m_text.size()) {
            if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n')
                ++m_pos;
            ++m_pos;
        }
        return line;
    }

private:
    const QString &m_text;
    int m_pos = 0;
};

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// A byte that is no text in the file's code page is held as this lone
// surrogate plus the byte: no text holds one, and it comes back as the byte.
constexpr char16_t kKeptByte = 0xDC00;

bool isKeptByte(const QString &text, qsizetype i)
{
    const char16_t u = text.at(i).unicode();
    return u >= kKeptByte + 0x80 && u <= kKeptByte + 0xFF && (i == 0 || !text.at(i - 1).isHighSurrogate());
}

// The text of one line's bytes, given back unchanged by bytesOf: where a
// piece is not text in the code page, or would be written back as other
// bytes, each of its bytes is kept as it is.
QString textOf(const QByteArray &line)
{
    if (const auto text = platform::fromCodePage(line); text && platform::toCodePage(*text) == line)
        return *text;
    QString out;
    for (qsizetype i = 0; i < line.size();) {
        qsizetype taken = 0;
        // A character takes at most four bytes in the code pages files come in.
        for (qsizetype n = 1; n <= 4 && i + n <= line.size() && !taken; ++n) {
            const QByteArray piece = line.mid(i, n);
            const auto text = platform::fromCodePage(piece);
            if (text && !text->isEmpty() && platform::toCodePage(*text) == piece) {
                out += *text;
                taken = n;
            }
        }
        if (!taken) {
            out += QChar(char16_t(kKeptByte + uchar(line.at(i))));
            taken = 1;
        }
        i += taken;
    }
    return out;
}

// The file's text; its line ends are the same bytes in every code page.
QString textOfFile(const QByteArray &bytes)
{
    if (const auto text = platform::fromCodePage(bytes); text && platform::toCodePage(*text) == bytes)
        return *text;
    QString out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes.at(i) != '\r' && bytes.at(i) != '\n')
            continue;
        out += textOf(bytes.mid(start, i - start));
        if (i < bytes.size())
            out += QLatin1Char(bytes.at(i));
        start = i + 1;
    }
    return out;
}

// A text's bytes in the code page, kept bytes as they were read; nothing
// when a character has no place in it.
std::optional<QByteArray> bytesOf(const QString &text)
{
    QByteArray out;
    qsizetype runStart = 0;
    const auto takeRun = [&](qsizetype end) {
        const auto run = platform::toCodePage(text.mid(runStart, end - runStart));
        if (run)
            out += *run;
        return run.has_value();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isKeptByte(text, i))
            continue;
        if (!takeRun(i))
            return std::nullopt;
        out += char(text.at(i).unicode() - kKeptByte);
        runStart = i + 1;
    }
    if (!takeRun(text.size()))
        return std::nullopt;
    return out;
}

// A line of the file in its code page; nothing for a text that cannot be
// one line (a line break would make it two) or that the code page cannot
// hold (it would come back as another name).
std::optional<QByteArray> lineOf(const QString &text)
{
    if (holdsLineBreak(text))
        return std::nullopt;
    return bytesOf(text);
}

} // namespace

bool holdsKeptBytes(const QString &entry)
{
    for (qsizetype i = 0; i < entry.size(); ++i) {
        if (isKeptByte(entry, i))
            return true;
    }
    return false;
}

EntryFault entryFault(const QString &entry)
{
    if (entry.isEmpty())
        return EntryFault::Empty;
    if (holdsLineBreak(entry))
        return EntryFault::LineBreak;
    if (entry.startsWith(QChar(0xFEFF)))
        return EntryFault::LeadingMark;
    if (!bytesOf(entry))
        return EntryFault::OutsideCodePage;
    return EntryFault::None;
}

bool storableEntry(const QString &entry)
{
    return entryFault(entry) == EntryFault::None;
}

QByteArray serializeWorkspace(const Workspace &workspace)
{
    QByteArray bytes;
    const char crlf[] = "\r\n";
    for (const QString &entry : workspace.entries) {
        if (storableEntry(entry))
            bytes += *lineOf(entry) + crlf;
    }
    bytes += crlf;
    bytes += crlf;
    if (const QString selected = workspace.selectedEntry(); storableEntry(selected))
        bytes += *lineOf(selected);
    bytes += crlf;
    bytes += lineOf(workspace.EditFileName).value_or(QByteArray());
    bytes += crlf;
    return bytes;
}

WorkspaceContent parseWorkspace(const QByteArray &bytes)
{
    WorkspaceContent content;
    const QString text = textOfFile(bytes);
    LineReader reader(text);
    QStringList entries;
    for (;;) {
        const auto line = reader.next();
        if (!line)
            return content;
        if (line->isEmpty())
            break;
        entries << *line;
    }
    if (!reader.next())
        return content;
    const auto selectedText = reader.next();
    if (!selectedText)
        return content;
    content.entries = entries;
    content.selectedText = *selectedText;
    content.EditFileName = reader.next();
    return content;
}

WorkspaceRead readWorkspaceFile(const Kit &kit, Workspace start)
{
    WorkspaceRead read{std::move(start), false};
    QFile file(platform::nativePath(kit.workspaceFile()));
    read.fileUnread = file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return read;
    const WorkspaceContent content = parseWorkspace(file.readAll());
    if (!content.entries)
        return read;
    read.fileUnread = false;
    Workspace &w = read.workspace;
    w.entries += *content.entries;
    if (const int index = indexOfEntry(w.entries, content.selectedText); index >= 0)
        w.selected = index;
    if (content.EditFileName)
        w.EditFileName = *content.EditFileName;
    return read;
}

bool writeWorkspaceFile(const Kit &kit, const Workspace &workspace)
{
    return platform::writeFileWhole(kit.workspaceFile(), serializeWorkspace(workspace), true);
}

} // namespace core
