#include "platform/CommandLine.h"

namespace platform {

QStringList splitWindowsCommandLine(const QString &line)
{
    QStringList words;
    const int n = line.size();
    int i = 0;
    // The program name follows simpler rules: quotes toggle, backslashes are
    // always literal.
    while (i < n && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    if (i >= n)
        return words;
    {
        QString word;
        bool inQuotes = false;
        while (i < n) {
            const QChar c = line[i];
            if (c == u'"') {
                inQuotes = !inQuotes;
                ++i;
                continue;
            }
            if (!inQuotes && (c == u' ' || c == u'\t'))
                break;
            word += c;
            ++i;
        }
        words << word;
    }
    for (;;) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        QString word;
        bool inQuotes = false;
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
            if (!inQuotes && (c == u' ' || c == u'\t'))
                break;
            word += c;
            ++i;
        }
        words << word;
    }
    return words;
}

} // namespace platform
