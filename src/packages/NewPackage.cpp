#include "packages/NewPackage.h"
#include "app/MainContext.h"
#include "app/Paths.h"
#include "platform/FileSystem.h"

#include <QInputDialog>
#include <QListWidget>

namespace packages {

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
    const QString name = QInputDialog::getText(ctx.mainWidget(), QStringLiteral("New Package"),
                                               QStringLiteral("Package Name"));
    if (!makePackageDirectories(ctx.appPath(), name))
        return;
    ctx.sourceList()->addItem(name);
}

} // namespace packages
