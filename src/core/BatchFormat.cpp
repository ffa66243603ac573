#include "core/BatchFormat.h"
#include "core/Settings.h"
#include "platform/CodePage.h"
#include "platform/NativePath.h"

#include <QFile>

namespace core {
namespace {

bool isSeparator(QChar c)
{
    return c == u',' || c == u'\r' || c == u'\n';
}

} // namespace

std::optional<QByteArray> batchFileBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    return platform::toCodePage(text);
}

std::optional<QByteArray> editorBatchBytes(const QString &editorLine)
{
    if (editorLine.isEmpty())
        return std::nullopt;
    return batchFileBytes({QStringLiteral("REM IEC 61499 Editor"), QStringLiteral("cd src"), editorLine});
}

std::optional<QByteArray> compilerBatchBytes(const QString &compileLine)
{
    return batchFileBytes({QStringLiteral("del compile.log"), compileLine});
}

BatchItemReader::BatchItemReader(const QString &text) : m_text(text) {}

std::optional<QString> BatchItemReader::next()
{
    const int size = m_text.size();
    if (m_pos >= size)
        return std::nullopt;
    while (m_pos < size && m_text[m_pos] == u' ')
        ++m_pos;

    QString item;
    if (m_pos < size && m_text[m_pos] == u'"') {
        const int start = m_pos + 1;
        const int close = m_text.indexOf(u'"', start);
        if (close < 0) {
            m_pos = size;
            return m_text.mid(start);
        }
        item = m_text.mid(start, close - start);
        m_pos = close + 1;
        while (m_pos < size && !isSeparator(m_text[m_pos]))
            ++m_pos;
    } else {
        const int start = m_pos;
        while (m_pos < size && !isSeparator(m_text[m_pos]))
            ++m_pos;
        item = m_text.mid(start, m_pos - start);
    }

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
    BatchItemReader reader(QString::fromLocal8Bit(bytes));
    while (const auto item = reader.next()) {
        if (item->contains(marker, Qt::CaseSensitive))
            return item;
    }
    return std::nullopt;
}

QStringList splitWords(const QString &line)
{
    return line.split(QLatin1Char(' '), Qt::KeepEmptyParts);
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
