#include "workspace/WorkspaceFile.h"

namespace workspace {
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

// An entry is one line of the file: an empty one would end the entries and
// one with a line break would come back as two.
bool storable(const QString &entry)
{
    return !entry.isEmpty() && !holdsLineBreak(entry);
}

} // namespace

QString workspaceFilePath(const QString &appPath)
{
    return appPath + QStringLiteral("\\TAVO_Starter.dat");
}

QByteArray serializeWorkspace(const QStringList &entries, int selected, const QString &editFileName)
{
    QString text;
    const QLatin1String crlf("\r\n");
    for (const QString &entry : entries) {
        if (storable(entry))
            text += entry + crlf;
    }
    text += crlf;
    text += crlf;
    if (selected >= 0 && selected < entries.size() && !holdsLineBreak(entries[selected]))
        text += entries[selected];
    text += crlf;
    if (!holdsLineBreak(editFileName))
        text += editFileName;
    text += crlf;
    return text.toLocal8Bit();
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
    content.editFileName = reader.next();
    return content;
}

} // namespace workspace
