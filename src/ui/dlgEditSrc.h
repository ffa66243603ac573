#pragma once
// "Select libraries": every directory of the source tree as a check list,
// ticked where the workspace already holds it; OK makes the workspace hold
// exactly the ticked directories.
#include "core/Kit.h"
#include "core/LibraryTicks.h"
#include "core/SourceScan.h"
#include "core/Workspace.h"

#include <QDialog>

class QListWidget;
class QPushButton;

class dlgEditSrc : public QDialog
{
    Q_OBJECT
public:
    explicit dlgEditSrc(const core::Kit &kit, QWidget *parent = nullptr);

    // The workspace that OK rewrites; must be set before Form_Load.
    void setTarget(const core::Workspace &target) { m_target = target; }

    // Captions, scan of the source root, ticks for what Target holds, no
    // current item. Run before exec(). False when the source root cannot be
    // listed, or the yield cancelled the scan; the dialog should not be
    // shown then, as OK would empty Target.
    bool Form_Load(core::ScanYield yield = {});
    const core::ScanResult &scanResult() const { return m_scan; }
    // What OK made of Target (Target itself until then).
    const core::TicksApplied &applied() const { return m_applied; }

    // Handlers.
    void OKButton_Click();
    void CancelButton_Click();
    void cmdSelAll_Click();
    void Command1_Click();

    // Controls.
    QListWidget *lstsrcpath = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *cmdSelAll = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setAllChecked(bool checked);
    // The lines as they stand, ticks included.
    QList<core::TickedFolder> checkList() const;

    core::Kit m_kit;
    core::Workspace m_target;
    core::ScanResult m_scan;
    core::TicksApplied m_applied;
};
