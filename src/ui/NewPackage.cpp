#include "ui/NewPackage.h"
#include "core/Packages.h"
#include "core/StringTable.h"
#include "ui/MainContext.h"
#include "ui/MessageBoxes.h"

namespace ui {

void cmdNewDir_Click(MainContext &ctx)
{
    // Cancel gives the empty name: nothing is made.
    const QString title = QStringLiteral("New Package");
    const QString name = inputBox(ctx.mainWidget(), title, QStringLiteral("Package Name"));
    if (name.isEmpty())
        return;
    // A name that would leave the tree, or come back from the workspace file
    // as another, makes nothing.
    if (const int problem = core::packageNameProblem(name)) {
        showMessage(ctx.mainWidget(), title, core::message(problem).arg(name), QMessageBox::Warning);
        return;
    }
    if (!core::makePackageDirectories(ctx.kit(), name))
        return;
    core::Workspace w = ctx.workspace();
    w.entries << name;
    ctx.setWorkspace(w);
}

} // namespace ui
