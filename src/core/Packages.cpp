#include "core/Packages.h"
#include "core/StringTable.h"
#include "core/WorkspaceFile.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

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

bool makePackageDirectories(const Kit &kit, const QString &name)
{
    if (!platform::makeDirectory(kit.sourceFolder(name)))
        return false;
    return platform::makeDirectory(kit.runtimeFolder(name));
}

} // namespace core
