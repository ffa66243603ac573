#include "workspace/dlgEditSrc.h"
#include "app/LocalizeForm.h"
#include "app/Paths.h"
#include "app/Twips.h"
#include "workspace/SourceList.h"
#include "workspace/WorkspaceFile.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace {

// The scan's entries go straight into the check list, unticked.
class CheckListSink : public workspace::ScanSink
{
public:
    explicit CheckListSink(QListWidget *list) : m_list(list) {}
    void append(const QString &entry) override
    {
        auto *item = new QListWidgetItem(entry);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_list->addItem(item);
    }

private:
    QListWidget *m_list;
};

} // namespace

dlgEditSrc::dlgEditSrc(const QString &appPath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_appPath(appPath)
{
    setObjectName(QStringLiteral("dlgEditSrc"));
    setProperty(app::kTagProperty, QStringLiteral("1033"));
    setWindowTitle(QStringLiteral("ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ"));
    setSizeGripEnabled(false);

    auto px = [this](int twips) { return app::twipsToPixels(this, twips); };
    auto place = [&px](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(px(left), px(top), px(width), px(height));
    };

    lstsrcpath = new QListWidget(this);
    lstsrcpath->setObjectName(QStringLiteral("lstsrcpath"));
    lstsrcpath->setSelectionMode(QAbstractItemView::SingleSelection);
    lstsrcpath->setSortingEnabled(false);
    place(lstsrcpath, 120, 120, 4335, 3000);

    auto button = [this, &place](const char *name, const char *tag, const QString &caption, int top) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setProperty(app::kTagProperty, QLatin1String(tag));
        // No default button: Enter presses a button only when it has the
        // focus (see keyPressEvent), never one it would have to guess.
        b->setAutoDefault(false);
        b->setDefault(false);
        place(b, 4680, top, 1215, 375);
        return b;
    };
    OKButton = button("OKButton", "1013", QStringLiteral("OK"), 120);
    CancelButton = button("CancelButton", "1012", QStringLiteral("ｷｬﾝｾﾙ"), 600);
    cmdSelAll = button("cmdSelAll", "1029", QStringLiteral("全選択"), 1200);
    Command1 = button("Command1", "1034", QStringLiteral("クリア"), 1680);

    setTabOrder(lstsrcpath, OKButton);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, cmdSelAll);
    setTabOrder(cmdSelAll, Command1);

    setFixedSize(px(6030), px(3195));

    connect(OKButton, &QPushButton::clicked, this, &dlgEditSrc::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &dlgEditSrc::CancelButton_Click);
    connect(cmdSelAll, &QPushButton::clicked, this, &dlgEditSrc::cmdSelAll_Click);
    connect(Command1, &QPushButton::clicked, this, &dlgEditSrc::Command1_Click);
}

void dlgEditSrc::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
        if (button && button->window() == this && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    // Esc: the cancel role, which reject() gives.
    QDialog::keyPressEvent(event);
}

bool dlgEditSrc::Form_Load(workspace::ScanYield yield)
{
    app::LocalizeForm(this);
    lstsrcpath->clear();
    m_firstRow.clear();
    m_indexedRows = 0;
    ScanSourceTree(yield);
    if (!m_scan.rootListed)
        return false;
    MarkTargetEntries();
    // Through the view, so that the list taking the focus later does not
    // make its first entry current on its own.
    lstsrcpath->setCurrentIndex(QModelIndex());
    lstsrcpath->clearSelection();
    return true;
}

void dlgEditSrc::ScanSourceTree(const workspace::ScanYield &yield)
{
    CheckListSink sink(lstsrcpath);
    m_scan = workspace::ScanSourceTree(app::SrcDir(m_appPath), sink, yield);
}

int dlgEditSrc::firstRow(const QString &text) const
{
    const int count = lstsrcpath->count();
    if (count < m_indexedRows) {
        m_firstRow.clear();
        m_indexedRows = 0;
    }
    for (; m_indexedRows < count; ++m_indexedRows)
        m_firstRow.insert(lstsrcpath->item(m_indexedRows)->text(), m_indexedRows);
    const auto it = m_firstRow.constFind(text);
    return it == m_firstRow.constEnd() ? -1 : *it;
}

void dlgEditSrc::MarkTargetEntries()
{
    if (!m_target)
        return;
    for (int i = 0; i < m_target->count(); ++i)
        MarkEntry(m_target->item(i)->text());
}

void dlgEditSrc::MarkEntry(const QString &text)
{
    const int row = firstRow(text);
    if (row >= 0)
        lstsrcpath->item(row)->setCheckState(Qt::Checked);
}

bool dlgEditSrc::IsEntryChecked(const QString &text) const
{
    const int row = firstRow(text);
    return row >= 0 && lstsrcpath->item(row)->checkState() == Qt::Checked;
}

bool dlgEditSrc::IsInTarget(const QString &text) const
{
    if (m_targetTexts)
        return m_targetTexts->contains(text);
    if (!m_target)
        return false;
    for (int i = 0; i < m_target->count(); ++i) {
        if (m_target->item(i)->text() == text)
            return true;
    }
    return false;
}

void dlgEditSrc::OKButton_Click()
{
    if (m_target) {
        const int current = workspace::selectedIndex(m_target);
        const std::optional<QString> remembered =
            current >= 0 ? std::optional<QString>(m_target->item(current)->text()) : std::nullopt;

        // Removal: from the bottom up, so indexes below stay valid. What lies
        // below a folder the scan could not list was never shown, so it is
        // not judged and stays.
        for (int i = m_target->count() - 1; i >= 0; --i) {
            const QString text = m_target->item(i)->text();
            if (!IsEntryChecked(text) && !workspace::liesBelowAny(text, m_scan.unreadableEntries))
                delete m_target->takeItem(i);
        }

        // Addition: ticked directories not held yet, in scan order.
        m_targetTexts = QSet<QString>();
        for (int i = 0; i < m_target->count(); ++i)
            m_targetTexts->insert(m_target->item(i)->text());
        m_notAdded.clear();
        for (int i = 0; i < lstsrcpath->count(); ++i) {
            const QListWidgetItem *item = lstsrcpath->item(i);
            if (item->checkState() != Qt::Checked || IsInTarget(item->text()))
                continue;
            // A name the workspace file would change is not taken: it
            // would come back naming another folder.
            if (!workspace::storableEntry(item->text())) {
                m_notAdded << item->text();
                continue;
            }
            m_target->addItem(item->text());
            m_targetTexts->insert(item->text());
        }
        m_targetTexts.reset();

        int restored = -1;
        for (int i = 0; remembered && i < m_target->count(); ++i) {
            if (m_target->item(i)->text() == *remembered) {
                restored = i;
                break;
            }
        }
        workspace::setSelectedIndex(m_target, restored);
    }
    accept();
}

void dlgEditSrc::CancelButton_Click()
{
    reject();
}

void dlgEditSrc::cmdSelAll_Click()
{
    setAllChecked(true);
}

void dlgEditSrc::Command1_Click()
{
    setAllChecked(false);
}

void dlgEditSrc::setAllChecked(bool checked)
{
    const int current = lstsrcpath->currentRow();
    const bool wasSelected = current >= 0 && lstsrcpath->item(current)->isSelected();
    // Disabling the list would pass its keyboard focus on; keep it.
    const bool hadFocus = lstsrcpath->hasFocus();
    lstsrcpath->setEnabled(false);
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < lstsrcpath->count(); ++i)
        lstsrcpath->item(i)->setCheckState(state);
    if (wasSelected)
        workspace::setSelectedIndex(lstsrcpath, current);
    else
        lstsrcpath->setCurrentRow(current, QItemSelectionModel::NoUpdate);
    lstsrcpath->setEnabled(true);
    if (hadFocus)
        lstsrcpath->setFocus();
}
