#pragma once
// "Check Kit...": the kit check's findings, one line each with an icon for
// its verdict, the sentence and the path it resolved, problems first, then
// warnings; the Options button opens the Options dialog on the tab of the
// selected line's setting; "Mend" takes the selected line's mend (a menu
// of them when it has several), as does the line's context menu. It opens
// beside its owner, wide enough for its sentences where the screen allows;
// where not, they wrap.
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

    // fill: puts a value into a setting's field of the Options dialog and
    // shows it on that tab, returning when it closes (saved only by OK, as
    // any edit). Without it no mend fills a setting.
    void setFillSetting(std::function<void(const QString &key, const QString &value, int tab)> fill);

    // The icon a verdict is shown with.
    static QIcon verdictIcon(core::Verdict verdict);

    QTreeWidget *lstFindings = nullptr;
    QPushButton *cmdOptions = nullptr;
    QPushButton *cmdMend = nullptr;
    QPushButton *cmdCheckAgain = nullptr;
    QPushButton *cmdClose = nullptr;

private:
    void fitToFindings();
    void cmdOptions_Click();
    void updateOptionsButton();
    void cmdMend_Click();
    void updateMendButton();
    // The mends of the current line.
    QList<core::KitMend> currentMends() const;
    // A menu of the current line's mends; the one chosen is taken.
    void chooseMend(const QPoint &globalPosition);
    // Takes a mend, then checks again.
    void mend(const core::KitMend &mend);
    // The Options tab of the current line's setting, or -1.
    int currentTab() const;

    std::function<QList<core::KitFinding>()> m_check;
    std::function<void(int)> m_openOptions;
    std::function<void(const QString &, const QString &, int)> m_fill;
    QList<core::KitFinding> m_findings;
    QTimer m_relayout;
};
