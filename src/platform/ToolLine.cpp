#include "platform/ToolLine.h"
#include "platform/CommandLine.h"

#include <algorithm>

namespace platform {

QString joinedLine(const ToolLine &line)
{
    QString text;
    for (int i = 0; i < line.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(' ');
        text += line[i].text;
    }
    return text;
}

ToolLine wordsAsSplit(const ToolLine &line)
{
    // The started words joined as the line joins them, each one's place
    // kept, then split once as a whole: an open quote takes what follows it
    // into its word, as it does in the line the system is given.
    QString text;
    QList<int> begins;
    QList<ToolWord::Kind> kinds;
    for (const ToolWord &word : line) {
        if (word.kind == ToolWord::Kind::Interpreter)
            continue;
        if (!begins.isEmpty())
            text += QLatin1Char(' ');
        begins << int(text.size());
        kinds << word.kind;
        text += word.text;
    }
    ToolLine split;
    for (const WordAt &word : splitWindowsCommandLineAt(text)) {
        const int piece = int(std::upper_bound(begins.begin(), begins.end(), word.begin) - begins.begin()) - 1;
        ToolWord::Kind kind = kinds.value(piece, ToolWord::Kind::Argument);
        if (split.isEmpty())
            kind = ToolWord::Kind::Program;
        else if (kind == ToolWord::Kind::Program)
            kind = ToolWord::Kind::Path;
        split.append({kind, word.text});
    }
    return split;
}

namespace {

// "*" and "?" of a source pattern's last level mean any run of characters
// and one character; everything else stands for itself. The last "*" is
// the only one ever gone back to, so no pattern takes long.
bool matches(const QString &name, const QString &pattern)
{
    int n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || (pattern[p] != u'*' && pattern[p] == name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

QStringList matchingNames(const QStringList &names, const QString &pattern)
{
    QStringList found;
    for (const QString &name : names) {
        if (!name.startsWith(QLatin1Char('.')) && matches(name, pattern))
            found << name;
    }
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return found;
}

} // namespace platform
