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
    // Stored as the list holds entries, so that the editor's package word
    // and the next Select libraries read it as levels.
    const QString entry = core::packageEntry(name);
    if (!core::makePackageDirectories(ctx.kit(), entry))
        return;
    core::Workspace w = ctx.workspace();
    w.entries << entry;
    ctx.setWorkspace(w);
}

} // namespace ui
