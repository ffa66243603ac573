#include "core/BatchFormat.h"
#include "core/Settings.h"
#include "platform/CodePage.h"
#include "platform/NativePath.h"

#include <QFile>

#include <algorithm>

namespace core {
namespace {

bool isSeparator(QChar c)
{
    return c == u',' || c == u'\r' || c == u'\n';
}

// What the command interpreter takes for its own outside quotes: it would
// join, pipe or redirect there, or read the next character as it is.
bool isInterpreterCharacter(QChar c)
{
    return c == u'&' || c == u'|' || c == u'<' || c == u'>' || c == u'^';
}

} // namespace

QString batchSpecials(const QString &value)
{
    QString found;
    bool quoted = false;
    for (const QChar c : value) {
        if (c == u'"')
            quoted = !quoted;
        else if ((c == u'%' || (!quoted && isInterpreterCharacter(c))) && !found.contains(c))
            found += c;
    }
    return found;
}

QString batchLine(const platform::ToolLine &words)
{
    // The quote state runs on from word to word, as the interpreter reads
    // the line; its own words are written as they are.
    QString line;
    bool quoted = false;
    for (int i = 0; i < words.size(); ++i) {
        if (i > 0)
            line += u' ';
        const bool interpreters = words[i].kind == platform::ToolWord::Kind::Interpreter;
        for (const QChar c : words[i].text) {
            if (c == u'"')
                quoted = !quoted;
            if (!interpreters && c == u'%')
                line += u'%';
            else if (!interpreters && !quoted && isInterpreterCharacter(c))
                line += u'^';
            line += c;
        }
    }
    return line;
}

QString batchTextAsRead(const QString &text)
{
    // As the interpreter reads a line: first "%%" is one "%", then a "^"
    // outside quotes takes the next character as it is (one at a line's
    // end is kept). Each line starts outside quotes.
    const QString percents = QString(text).replace(QLatin1String("%%"), QLatin1String("%"));
    QString read;
    bool quoted = false;
    for (int i = 0; i < percents.size(); ++i) {
        const QChar c = percents[i];
        const QChar next = i + 1 < percents.size() ? percents[i + 1] : QChar();
        if (c == u'^' && !quoted && !next.isNull() && next != u'\r' && next != u'\n') {
            read += next;
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n')
            quoted = false;
        else if (c == u'"')
            quoted = !quoted;
        read += c;
    }
    return read;
}

std::optional<QByteArray> batchFileBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return platform::toInterpreterCodePage(text);
}

std::optional<QByteArray> editorBatchBytes(const platform::ToolLine &editorWords)
{
    if (editorWords.isEmpty())
        return std::nullopt;
    return batchFileBytes({QStringLiteral("REM IEC 61499 Editor"), QStringLiteral("cd src"), batchLine(editorWords)});
}

std::optional<QByteArray> compilerBatchBytes(const platform::ToolLine &compileWords)
{
    return batchFileBytes({QStringLiteral("del compile.log"), batchLine(compileWords)});
}

BatchItemReader::BatchItemReader(const QString &text) : m_text(text) {}

std::optional<QString> BatchItemReader::next()
{
    const int size = m_text.size();
    if (m_pos >= size)
        return std::nullopt;
    while (m_pos < size && m_text[m_pos] == u' ')
        ++m_pos;

    const int start = m_pos;
    // A quoted start, quotes and all, holds what would separate, but not
    // past its line.
    if (m_pos < size && m_text[m_pos] == u'"') {
        ++m_pos;
        while (m_pos < size && m_text[m_pos] != u'"' && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n')
            ++m_pos;
        if (m_pos < size && m_text[m_pos] == u'"')
            ++m_pos;
    }
    while (m_pos < size && !isSeparator(m_text[m_pos]))
        ++m_pos;
    const QString item = m_text.mid(start, m_pos - start);

    if (m_pos < size) {
        // CR LF is one line end, not a line end and an empty line.
        if (m_text[m_pos] == u'\r' && m_pos + 1 < size && m_text[m_pos + 1] == u'\n')
            ++m_pos;
        ++m_pos;
    }
    return item;
}

std::optional<QString> findCommandLine(const QByteArray &bytes, const QString &marker)
{
    BatchItemReader reader(batchTextAsRead(platform::fromInterpreterCodePage(bytes)));
    while (const auto item = reader.next()) {
        if (item->contains(marker, Qt::CaseSensitive))
            return item;
    }
    return std::nullopt;
}

QStringList splitWords(const QString &line)
{
    // A quoted first word runs past its blanks to the first blank after its
    // closing quote.
    const int close = line.startsWith(QLatin1Char('"')) ? int(line.indexOf(QLatin1Char('"'), 1)) : -1;
    const int end = line.indexOf(QLatin1Char(' '), std::max(close, 0));
    if (close < 0 || end < 0)
        return close < 0 ? line.split(QLatin1Char(' '), Qt::KeepEmptyParts) : QStringList{line};
    return QStringList{line.left(end)} + line.mid(end + 1).split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

QStringList packageEntries(const QString &packageWord)
{
    QStringList pieces = packageWord.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    pieces.removeLast();
    return pieces;
}

BatchImport importCompilerBatch(const QByteArray &bytes)
{
    BatchImport result;
    const auto line = findCommandLine(bytes, kCompilerBatchMarker);
    if (!line)
        return result;
    const QStringList words = splitWords(*line);
    result.values.append({kCompiler, words[0]});
    if (words.size() < 4)
        return result;
    result.values.append({kCP, words[3]});
    result.complete = true;
    return result;
}

BatchImport importEditorBatch(const QByteArray &bytes)
{
    BatchImport result;
    const auto line = findCommandLine(bytes, kEditorBatchMarker);
    if (!line)
        return result;
    const QStringList words = splitWords(*line);
    result.values.append({kJREpath, words[0]});
    if (words.size() < 3)
        return result;
    result.values.append({kLibpath, words[2]});
    if (words.size() < 6)
        return result;
    const QStringList entries = packageEntries(words[5]);
    // A word without ";" names no entry (a JREpath with a blank moves the
    // words along): taking it would empty the workspace.
    if (entries.isEmpty())
        return result;
    const QString firstPiece = words[5].section(QLatin1Char(';'), 0, 0);
    // The first piece is the entry that was selected at export.
    result.selectedIndex = int(entries.indexOf(firstPiece));
    result.entries = entries;
    result.complete = true;
    return result;
}

BatchImport importBatchFile(const QString &path, BatchFile which)
{
    QFile file(platform::nativePath(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return which == BatchFile::Editor ? importEditorBatch(bytes) : importCompilerBatch(bytes);
}

} // namespace core
