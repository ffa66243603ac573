#include "ui/NewPackage.h"
#include "core/Packages.h"
#include "core/StringTable.h"
#include "platform/NativePath.h"
#include "ui/MainContext.h"
#include "ui/MessageBoxes.h"

#include <QDir>

namespace ui {

namespace {

// A folder below the kit as the system names it, short enough to read.
QString shown(const QString &folder)
{
    return QDir::toNativeSeparators(platform::nativePath(folder));
}

// Why the folders could not be made, or nothing when they were.
QString whyNotMade(const core::PackageFolders &made)
{
    using Outcome = core::PackageFolders::Outcome;
    switch (made.outcome) {
    case Outcome::Made:
    case Outcome::LevelsMissing:
        return QString();
    case Outcome::Exists:
        return core::message(core::msg::kNewFolderExists).arg(shown(made.folder));
    case Outcome::RootMissing:
        return core::message(core::msg::kNewRootMissing).arg(shown(made.folder), shown(made.root));
    case Outcome::NameTooLong:
        return core::message(core::msg::kNewNameTooLong).arg(shown(made.folder));
    case Outcome::NotMade:
        return core::message(core::msg::kNewFolderNotMade).arg(shown(made.folder));
    }
    return QString();
}

} // namespace

void cmdNewDir_Click(MainContext &ctx)
{
    const QString title = core::message(core::msg::kNewTitle);
    QString typed;
    // Asked again, holding what was typed, until a name is made or the user
    // cancels: a refused name is mended, not typed anew.
    for (;;) {
        // Cancel gives the empty name: nothing is made.
        typed = inputBox(ctx.mainWidget(), title, core::message(core::msg::kNewPrompt), typed);
        if (typed.isEmpty())
            return;
        // A name that would leave the tree, or come back from the workspace
        // file as another, makes nothing.
        if (const int problem = core::packageNameProblem(typed)) {
            showMessage(ctx.mainWidget(), title, core::message(problem).arg(typed), QMessageBox::Warning);
            continue;
        }
        // Stored as the list holds entries, so that the editor's package word
        // and the next Select libraries read it as levels.
        const QString entry = core::packageEntry(typed);
        core::PackageFolders made = core::makePackageFolders(ctx.kit(), entry, false);
        if (made.outcome == core::PackageFolders::Outcome::LevelsMissing) {
            QStringList levels;
            for (const QString &level : made.missingLevels)
                levels << shown(level);
            if (!askYesNo(ctx.mainWidget(), title,
                          core::message(core::msg::kNewParentsMissing).arg(levels.join(QStringLiteral(", ")))))
                continue;
            made = core::makePackageFolders(ctx.kit(), entry, true);
        }
        if (const QString why = whyNotMade(made); !why.isEmpty()) {
            showMessage(ctx.mainWidget(), title, why, QMessageBox::Warning);
            continue;
        }
        core::Workspace w = ctx.workspace();
        w.entries << entry;
        ctx.setWorkspace(w);
        return;
    }
}

} // namespace ui
