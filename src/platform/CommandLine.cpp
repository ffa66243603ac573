#include "platform/CommandLine.h"

namespace platform {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The program's word follows simpler rules: quotes toggle, backslashes are
// always literal.
QString programWord(const QString &line, int &i, bool &inQuotes)
{
    QString word;
    for (; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && isBlank(c))
            break;
        else
            word += c;
    }
    return word;
}

QString argumentWord(const QString &line, int &i, bool &inQuotes)
{
    const int n = line.size();
    QString word;
    while (i < n) {
        const QChar c = line[i];
        if (c == u'\\') {
            int slashes = 0;
            while (i < n && line[i] == u'\\') {
                ++slashes;
                ++i;
            }
            if (i < n && line[i] == u'"') {
                word += QString(slashes / 2, u'\\');
                if (slashes % 2) {
                    word += u'"';
                    ++i;
                }
            } else {
                word += QString(slashes, u'\\');
            }
            continue;
        }
        if (c == u'"') {
            if (inQuotes && i + 1 < n && line[i + 1] == u'"') {
                // "" inside quotes stands for one literal quote.
                word += u'"';
                i += 2;
                continue;
            }
            inQuotes = !inQuotes;
            ++i;
            continue;
        }
        if (!inQuotes && isBlank(c))
            break;
        word += c;
        ++i;
    }
    return word;
}

QList<WordAt> split(const QString &line, bool programFirst, bool *quoteOpen)
{
    QList<WordAt> words;
    bool inQuotes = false;
    int i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        inQuotes = false;
        const int begin = i;
        words.append({programFirst && words.isEmpty() ? programWord(line, i, inQuotes) : argumentWord(line, i, inQuotes),
                      begin});
    }
    if (quoteOpen)
        *quoteOpen = inQuotes;
    return words;
}

QStringList texts(const QList<WordAt> &words)
{
    QStringList list;
    for (const WordAt &word : words)
        list << word.text;
    return list;
}

} // namespace

QStringList splitWindowsCommandLine(const QString &line, bool *quoteOpen)
{
    return texts(split(line, true, quoteOpen));
}

QList<WordAt> splitWindowsCommandLineAt(const QString &line, bool *quoteOpen)
{
    return split(line, true, quoteOpen);
}

QStringList splitWindowsArguments(const QString &piece, bool *quoteOpen)
{
    return texts(split(piece, false, quoteOpen));
}

} // namespace platform
