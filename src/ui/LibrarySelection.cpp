#include "ui/LibrarySelection.h"
#include "core/StringTable.h"
#include "platform/NativePath.h"
#include "ui/MainContext.h"
#include "ui/ScanProgress.h"
#include "ui/dlgEditSrc.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QWidget>

namespace ui {

namespace {

bool scanRunning = false;
// The last report of a scan in the status panel, taken away by the next scan
// that has nothing to report.
QString lastReport;

// The source root in full, as the system names it.
QString sourceRootName(const core::Kit &kit)
{
    return QDir::toNativeSeparators(platform::nativePath(kit.SrcDir()));
}

// A folder below the source root by its path from the kit folder: short
// enough to be read in the status panel, the entry's text at its end.
QString sourceFolderName(const QString &entry)
{
    return QDir::toNativeSeparators(platform::nativePath(QStringLiteral("src\\") + entry));
}

QString folderNames(const QStringList &entries)
{
    QStringList names;
    for (const QString &entry : entries)
        names << sourceFolderName(entry);
    return names.join(QStringLiteral(", "));
}

void report(MainContext &ctx, const QString &text)
{
    if (!text.isEmpty())
        ctx.setStatusText(text);
    else if (ctx.statusText() == lastReport)
        ctx.setStatusText(QString());
    lastReport = text;
}

// While the scan lets events run, the main window shows the hourglass and
// takes no input, so nothing can change the list or start a second scan
// (a long scan's progress window, modal, takes the input for its Cancel).
class MainWindowHeld
{
public:
    explicit MainWindowHeld(MainContext &ctx) : m_ctx(ctx), m_window(ctx.mainWidget())
    {
        scanRunning = true;
        if (m_window) {
            m_focus = QApplication::focusWidget();
            m_wasEnabled = m_window->isEnabled();
            m_window->setEnabled(false);
        }
        m_ctx.setBusy(true);
    }
    ~MainWindowHeld()
    {
        m_ctx.setBusy(false);
        if (m_window) {
            m_window->setEnabled(m_wasEnabled);
            if (m_focus && m_focus->window() == m_window)
                m_focus->setFocus();
        }
        scanRunning = false;
    }

private:
    MainContext &m_ctx;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
    bool m_wasEnabled = true;
};

} // namespace

void cmdEditSrcpath_Click(MainContext &ctx)
{
    if (scanRunning)
        return;

    // Owned by the main window, which it opens centred on, whatever other
    // window (the Compile window) is over it.
    dlgEditSrc dialog(ctx.kit(), ctx.mainWidget());
    dialog.setTarget(ctx.workspace());
    bool loaded = false;
    {
        MainWindowHeld held(ctx);
        ScanProgress progress(ctx.mainWidget());
        loaded = dialog.Form_Load([&progress](int foldersListed) { return progress(foldersListed); });
    }
    const core::ScanResult &scan = dialog.scanResult();
    // Cancelled: the list stays as it was, and so does the panel.
    if (scan.cancelled)
        return;
    if (!loaded) {
        // An empty dialog would let OK wipe the workspace.
        report(ctx, core::message(core::msg::kSourceRootUnreadable).arg(sourceRootName(ctx.kit())));
        return;
    }
    QStringList said;
    if (!scan.unreadableEntries.isEmpty())
        said << core::message(core::msg::kFoldersUnreadable).arg(folderNames(scan.unreadableEntries));
    if (!scan.linksNotFollowed.isEmpty())
        said << core::message(core::msg::kLinksNotFollowed).arg(folderNames(scan.linksNotFollowed));
    report(ctx, said.join(QStringLiteral("; ")));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const core::TicksApplied &applied = dialog.applied();
    ctx.setWorkspace(applied.workspace);
    said.clear();
    if (!applied.notAdded.isEmpty())
        said << core::message(core::msg::kFoldersOutsideCodePage).arg(applied.notAdded.join(QStringLiteral(", ")));
    if (!applied.notHeldAsIs.isEmpty())
        said << core::message(core::msg::kFoldersNotHeldAsIs).arg(applied.notHeldAsIs.join(QStringLiteral(", ")));
    if (!said.isEmpty())
        report(ctx, said.join(QStringLiteral("; ")));
}

} // namespace ui
