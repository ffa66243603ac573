#include "ui/dlgEditSrc.h"
#include "ui/ListRows.h"
#include "ui/LocalizeForm.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace {

// Marks a line whose folder no entry can hold as it is.
constexpr int kUnholdableRole = Qt::UserRole + 1;

// The scan's entries go straight into the check list, unticked.
class CheckListSink : public core::ScanSink
{
public:
    explicit CheckListSink(QListWidget *list) : m_list(list) {}
    void append(const QString &entry) override { add(entry); }
    void appendUnholdable(const QString &entry) override { add(entry)->setData(kUnholdableRole, true); }

private:
    QListWidgetItem *add(const QString &entry)
    {
        auto *item = new QListWidgetItem(entry);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_list->addItem(item);
        return item;
    }

    QListWidget *m_list;
};

} // namespace

dlgEditSrc::dlgEditSrc(const core::Kit &kit, QWidget *parent)
    : QDialog(parent, ui::fixedDialogFlags()),
      m_kit(kit)
{
    setObjectName(QStringLiteral("dlgEditSrc"));
    setProperty(ui::kTagProperty, QStringLiteral("1033"));
    setWindowTitle(QStringLiteral("ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ"));
    setSizeGripEnabled(false);

    auto px = [this](int twips) { return ui::twipsToPixels(this, twips); };
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
        b->setProperty(ui::kTagProperty, QLatin1String(tag));
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

bool dlgEditSrc::Form_Load(core::ScanYield yield)
{
    ui::LocalizeForm(this);
    lstsrcpath->clear();
    CheckListSink sink(lstsrcpath);
    m_scan = core::ScanSourceTree(m_kit.SrcDir(), sink, yield);
    if (!m_scan.rootListed || m_scan.cancelled)
        return false;
    const QList<core::TickedFolder> ticks = core::MarkTargetEntries(checkList(), m_target.entries);
    for (int i = 0; i < ticks.size(); ++i) {
        if (ticks[i].ticked)
            lstsrcpath->item(i)->setCheckState(Qt::Checked);
    }
    // Through the view, so that the list taking the focus later does not
    // make its first entry current on its own.
    lstsrcpath->setCurrentIndex(QModelIndex());
    lstsrcpath->clearSelection();
    m_applied.workspace = m_target;
    return true;
}

QList<core::TickedFolder> dlgEditSrc::checkList() const
{
    QList<core::TickedFolder> lines;
    lines.reserve(lstsrcpath->count());
    for (int i = 0; i < lstsrcpath->count(); ++i) {
        const QListWidgetItem *item = lstsrcpath->item(i);
        lines.append({item->text(), item->checkState() == Qt::Checked, !item->data(kUnholdableRole).toBool()});
    }
    return lines;
}

void dlgEditSrc::OKButton_Click()
{
    m_applied = core::applyTicks(m_target, checkList(), {m_scan.unreadableEntries, m_scan.linksNotFollowed});
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
        ui::selectRow(lstsrcpath, current);
    else
        lstsrcpath->setCurrentRow(current, QItemSelectionModel::NoUpdate);
    lstsrcpath->setEnabled(true);
    if (hadFocus)
        lstsrcpath->setFocus();
}
