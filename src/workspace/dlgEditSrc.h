#pragma once
// "Select libraries": every directory of the source tree as a check list,
// ticked where the source-path list already holds it; OK makes the
// source-path list hold exactly the ticked directories.
#include "workspace/SourceScan.h"

#include <QDialog>
#include <QHash>
#include <QSet>
#include <optional>

class QListWidget;
class QPushButton;

class dlgEditSrc : public QDialog
{
    Q_OBJECT
public:
    explicit dlgEditSrc(const QString &appPath, QWidget *parent = nullptr);

    // The list box that OK rewrites; must be set before Form_Load.
    void setTarget(QListWidget *target) { m_target = target; }

    // Captions, scan of AppPath\src, ticks for what Target holds, no current
    // item. Run before exec(). False when the source root cannot be listed;
    // the dialog should not be shown then, as OK would empty Target.
    bool Form_Load(workspace::ScanYield yield = {});
    const workspace::ScanResult &scanResult() const { return m_scan; }
    // Ticked folders that OK left out, as the workspace file cannot hold
    // their names.
    const QStringList &notAdded() const { return m_notAdded; }

    // Handlers.
    void OKButton_Click();
    void CancelButton_Click();
    void cmdSelAll_Click();
    void Command1_Click();

    // Matching by exact text, case included; the first equal entry counts.
    void MarkTargetEntries();
    void MarkEntry(const QString &text);
    bool IsEntryChecked(const QString &text) const;
    bool IsInTarget(const QString &text) const;

    // Controls.
    QListWidget *lstsrcpath = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *cmdSelAll = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ScanSourceTree(const workspace::ScanYield &yield);
    void setAllChecked(bool checked);
    int firstRow(const QString &text) const;

    QString m_appPath;
    QListWidget *m_target = nullptr;
    workspace::ScanResult m_scan;
    QStringList m_notAdded;
    // First row of each text, rebuilt when the list has grown: a large tree
    // must not cost a walk of the list per lookup.
    mutable QHash<QString, int> m_firstRow;
    mutable int m_indexedRows = 0;
    // Target's texts while OK appends to it, for the same reason.
    std::optional<QSet<QString>> m_targetTexts;
};
