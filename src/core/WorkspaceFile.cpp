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

// A line of the file in its code page; nothing for a text that cannot be
// one line (a line break would make it two) or that the code page cannot
// hold (it would come back as another name).
std::optional<QByteArray> lineOf(const QString &text)
{
    if (holdsLineBreak(text))
        return std::nullopt;
    return platform::toCodePage(text);
}

} // namespace

EntryFault entryFault(const QString &entry)
{
    if (entry.isEmpty())
        return EntryFault::Empty;
    if (holdsLineBreak(entry))
        return EntryFault::LineBreak;
    if (entry.startsWith(QChar(0xFEFF)))
        return EntryFault::LeadingMark;
    if (!platform::toCodePage(entry))
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
    const QString text = QString::fromLocal8Bit(bytes);
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
