#include "packages/NewPackage.h"
#include "app/MainContext.h"
#include "app/Paths.h"
#include "app/StringTable.h"
#include "platform/FileSystem.h"
#include "workspace/WorkspaceFile.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QListWidget>

namespace packages {

int packageNameProblem(const QString &name)
{
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    for (const QString &level : name.split(separators)) {
        if (level.isEmpty() || level == QLatin1String(".") || level == QLatin1String("..")
            || level.contains(QLatin1Char(':')))
            return app::msg::kNameOutsideTree;
    }
    if (!workspace::storableEntry(name))
        return app::msg::kNameOutsideCodePage;
    return 0;
}

bool makePackageDirectories(const QString &appPath, const QString &name)
{
    if (!platform::makeDirectory(app::SrcDir(appPath) + QLatin1Char('\\') + name))
        return false;
    return platform::makeDirectory(app::LibDir(appPath) + QStringLiteral("\\fb\\rt\\") + name);
}

void cmdNewDir_Click(MainContext &ctx)
{
    // Cancel gives the empty name, which names the source root itself: that
    // exists, so nothing is made.
    const QString title = QStringLiteral("New Package");
    const QString name = QInputDialog::getText(ctx.mainWidget(), title, QStringLiteral("Package Name"));
    if (name.isEmpty())
        return;
    // A name that would leave the tree, or come back from the workspace file
    // as another, makes nothing.
    if (const int problem = packageNameProblem(name)) {
        QMessageBox::warning(ctx.mainWidget(), title, app::message(problem).arg(name));
        return;
    }
    if (!makePackageDirectories(ctx.appPath(), name))
        return;
    ctx.sourceList()->addItem(name);
}

} // namespace packages
