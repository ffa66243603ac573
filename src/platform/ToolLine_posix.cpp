#include "platform/ToolLine.h"
#include "platform/CommandLine.h"
#include "platform/DirectoryListing.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QRegularExpression>

namespace platform {
namespace {

bool hasWildcard(const QString &text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// A source pattern's matches, each with the pattern's folder as written, as
// the Windows Java launcher expands its arguments; the pattern itself when
// nothing matches, so that the tool's own message names it. Only the last
// level may hold a wildcard there too.
QStringList expanded(const QString &path, const QString &workingDirectory)
{
    const int cut = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(cut + 1);
    const QString pattern = path.mid(cut + 1);
    if (!hasWildcard(pattern) || hasWildcard(folder))
        return {path};
    DirectoryListing listing(QDir(workingDirectory).absoluteFilePath(folder.isEmpty() ? QStringLiteral(".") : folder));
    QStringList names;
    while (listing.next()) {
        // A name shown with a stand-in character would name no file.
        if (listing.nameIsExact())
            names << listing.name();
    }
    QStringList words = matchingNames(names, pattern);
    if (words.isEmpty())
        return {path};
    for (QString &word : words)
        word.prepend(folder);
    return words;
}

QString shellQuoted(const QString &word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

SystemCommand commandOf(const QStringList &words)
{
    SystemCommand command;
    if (words.isEmpty() || words.first().isEmpty())
        return command;
    command.program = words.first();
    command.arguments = words.mid(1);
    QStringList shown;
    for (const QString &word : words)
        shown << shellQuoted(word);
    command.line = shown.join(QLatin1Char(' '));
    return command;
}

} // namespace

SystemCommand systemCommand(const ToolLine &line, const QString &workingDirectory)
{
    const QString folder = nativePath(workingDirectory);
    QStringList words;
    for (const ToolWord &word : wordsAsSplit(line)) {
        switch (word.kind) {
        case ToolWord::Kind::Program:
            words << nativePath(word.text);
            break;
        case ToolWord::Kind::ClassPath: {
            QStringList pieces = word.text.split(QLatin1Char(';'));
            for (QString &piece : pieces)
                piece = nativePath(piece);
            words << pieces.join(QLatin1Char(':'));
            break;
        }
        case ToolWord::Kind::Path:
            words += expanded(nativePath(word.text), folder);
            break;
        case ToolWord::Kind::Option:
        case ToolWord::Kind::Argument:
        case ToolWord::Kind::Interpreter:
            words << word.text;
            break;
        }
    }
    return commandOf(words);
}

SystemCommand plainCommand(const QString &line)
{
    QStringList words = splitWindowsCommandLine(line);
    if (!words.isEmpty())
        words.first() = nativePath(words.first());
    return commandOf(words);
}

} // namespace platform
