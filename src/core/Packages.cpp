#include "core/Packages.h"
#include "core/StringTable.h"
#include "core/WorkspaceFile.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <QRegularExpression>

namespace core {

bool staysBelowSourceRoot(const QString &name)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    for (const QString &level : name.split(separators)) {
        if (level.isEmpty() || level == QLatin1String(".") || level == QLatin1String("..")
            || level.contains(QLatin1Char(':')))
            return false;
    }
    return true;
}

int packageNameProblem(const QString &name)
{
    if (!staysBelowSourceRoot(name))
        return msg::kNameOutsideTree;
    const QString entry = packageEntry(name);
    for (const QString &level : entry.split(QLatin1Char('\\'))) {
        if (level.endsWith(QLatin1Char(' ')) || level.endsWith(QLatin1Char('.')))
            return msg::kNameEndsInBlankOrDot;
    }
    switch (entryFault(entry)) {
    case EntryFault::None:
        // A typed name names a folder too: it must be text in the code page.
        return platform::toCodePage(entry) ? 0 : msg::kNameOutsideCodePage;
    case EntryFault::LeadingMark:
        return msg::kNameLeadingMark;
    default:
        return msg::kNameOutsideCodePage;
    }
}

QString packageEntry(const QString &name)
{
    QString entry = name;
    return entry.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

namespace {

bool isThere(const QString &path)
{
    const QFileInfo info(platform::nativePath(path));
    return info.exists() || info.isSymLink();
}

bool isFolder(const QString &path)
{
    return QFileInfo(platform::nativePath(path)).isDir();
}

} // namespace

PackageFolders makePackageFolders(const Kit &kit, const QString &entry, bool makeMissingLevels)
{
    // The levels of both folders, root first: the source tree's, then the
    // runtime tree's.
    const QStringList levels = entry.split(QLatin1Char('\\'));
    QList<QStringList> trees;
    for (const QString &root : {kit.SrcDir(), kit.runtimeDir()}) {
        QStringList paths{root};
        for (const QString &level : levels)
            paths << paths.last() + QLatin1Char('\\') + level;
        trees << paths;
    }
    const auto shown = [&kit](const QString &path) { return path.mid(kit.appPath().size() + 1); };

    PackageFolders result;
    for (const QStringList &paths : trees) {
        if (!isFolder(paths.first()))
            return {PackageFolders::Outcome::RootMissing, shown(paths.last()), shown(paths.first()), {}};
        if (isThere(paths.last()))
            return {PackageFolders::Outcome::Exists, shown(paths.last()), {}, {}};
        for (qsizetype i = 1; i + 1 < paths.size(); ++i) {
            if (!isFolder(paths[i]))
                result.missingLevels << shown(paths[i]);
        }
    }
    if (!result.missingLevels.isEmpty() && !makeMissingLevels) {
        result.outcome = PackageFolders::Outcome::LevelsMissing;
        return result;
    }
    result.missingLevels.clear();

    QStringList made;
    for (const QStringList &paths : trees) {
        for (qsizetype i = 1; i < paths.size(); ++i) {
            if (i + 1 < paths.size() && isFolder(paths[i]))
                continue;
            const platform::MadeDirectory outcome = platform::makeDirectoryLevel(paths[i]);
            if (outcome == platform::MadeDirectory::Made) {
                made.prepend(paths[i]);
                continue;
            }
            // Empty, and ours: nothing of the user's goes with them.
            for (const QString &path : made)
                QDir().rmdir(platform::nativePath(path));
            switch (outcome) {
            case platform::MadeDirectory::Exists:
                return {PackageFolders::Outcome::Exists, shown(paths[i]), {}, {}};
            case platform::MadeDirectory::NameTooLong:
                return {PackageFolders::Outcome::NameTooLong, shown(paths[i]), {}, {}};
            default:
                return {PackageFolders::Outcome::NotMade, shown(paths[i]), {}, {}};
            }
        }
    }
    return result;
}

} // namespace core
