#pragma once
// "Check Kit...": the kit check's findings, one line each with an icon for
// its verdict, the sentence and the path it resolved, problems first, then
// warnings; the Options button opens the Options dialog on the tab of the
// selected line's setting. It opens beside its owner, wide enough for its
// sentences where the screen allows; where not, they wrap.
#include "core/KitCheck.h"

#include <QDialog>
#include <QTimer>
#include <functional>

class QPushButton;
class QTreeWidget;

class frmCheckKit : public QDialog
{
    Q_OBJECT
public:
    // check: runs the check over the live settings and workspace.
    // openOptions: shows the Options dialog on a tab and returns when it
    // closes.
    frmCheckKit(std::function<QList<core::KitFinding>()> check, std::function<void(int tab)> openOptions,
                QWidget *parent = nullptr);

    // Captions, then the check; sized to its sentences and placed beside
    // its owner.
    void Form_Load();
    // Fills the list anew from the check.
    void runCheck();
    const QList<core::KitFinding> &findings() const { return m_findings; }

    // The icon a verdict is shown with.
    static QIcon verdictIcon(core::Verdict verdict);

    QTreeWidget *lstFindings = nullptr;
    QPushButton *cmdOptions = nullptr;
    QPushButton *cmdCheckAgain = nullptr;
    QPushButton *cmdClose = nullptr;

private:
    void fitToFindings();
    void cmdOptions_Click();
    void updateOptionsButton();
    // The Options tab of the current line's setting, or -1.
    int currentTab() const;

    std::function<QList<core::KitFinding>()> m_check;
    std::function<void(int)> m_openOptions;
    QList<core::KitFinding> m_findings;
    QTimer m_relayout;
};
