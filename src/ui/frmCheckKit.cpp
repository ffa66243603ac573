#include "ui/frmCheckKit.h"
#include "core/StringTable.h"
#include "core/ToolCheck.h"
#include "ui/LocalizeForm.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"
#include "ui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kSentenceColumn = 1;

// The sentence column wraps its text at the column's width and its row
// grows for it, so that no sentence is cut where the screen is narrow.
class SentenceDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem sized(option);
        const auto *tree = qobject_cast<const QTreeView *>(option.widget);
        // The style wraps only within a valid box; the height is its to find.
        if (index.column() == kSentenceColumn && tree)
            sized.rect.setSize({tree->header()->sectionSize(kSentenceColumn), 1});
        return QStyledItemDelegate::sizeHint(sized, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == kSentenceColumn)
            option->features |= QStyleOptionViewItem::WrapText;
    }
};

} // namespace

QIcon frmCheckKit::verdictIcon(core::Verdict verdict)
{
    // Drawn rather than taken from the style, so that each verdict looks the
    // same on every system: a green tick, an amber triangle, a red cross.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (verdict) {
    case core::Verdict::Fine:
        p.setBrush(QColor(0x2e, 0x8b, 0x3e));
        p.setPen(Qt::NoPen);
        p.drawEllipse(1, 1, 14, 14);
        p.setPen(QPen(Qt::white, 2));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
        break;
    case core::Verdict::Warning: {
        QPainterPath triangle;
        triangle.moveTo(8, 1);
        triangle.lineTo(15, 14.5);
        triangle.lineTo(1, 14.5);
        triangle.closeSubpath();
        p.fillPath(triangle, QColor(0xe0, 0xa0, 0x10));
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(8, 5.5), QPointF(8, 9.5));
        p.drawPoint(QPointF(8, 12.2));
        break;
    }
    case core::Verdict::Problem:
        p.setBrush(QColor(0xc8, 0x20, 0x20));
        p.setPen(Qt::NoPen);
        p.drawEllipse(1, 1, 14, 14);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
        break;
    }
    return QIcon(pixmap);
}

frmCheckKit::frmCheckKit(std::function<QList<core::KitFinding>()> check, std::function<void(int)> openOptions,
                         QWidget *parent)
    : QDialog(parent), m_check(std::move(check)), m_openOptions(std::move(openOptions))
{
    setObjectName(QStringLiteral("frmCheckKit"));
    setProperty(ui::kTagProperty, QStringLiteral("1201"));
    setWindowTitle(QStringLiteral("Check Kit"));
    resize(ui::twipsToPixels(this, 13500), ui::twipsToPixels(this, 5400));

    lstFindings = new QTreeWidget(this);
    lstFindings->setObjectName(QStringLiteral("lstFindings"));
    lstFindings->setColumnCount(3);
    lstFindings->setRootIsDecorated(false);
    lstFindings->setItemDelegate(new SentenceDelegate(lstFindings));
    lstFindings->setWordWrap(false);
    // A long path keeps its ends: the drive and the file.
    lstFindings->setTextElideMode(Qt::ElideMiddle);
    // Column captions by string id, as the caption loader reads them.
    QTreeWidgetItem *header = lstFindings->headerItem();
    const QStringList captions{QStringLiteral("Setting"), QStringLiteral("Finding"), QStringLiteral("Path")};
    for (int column = 0; column < 3; ++column) {
        header->setText(column, captions[column]);
        header->setData(column, Qt::UserRole, QString::number(1205 + column));
    }
    // The sentence gets the room; the path, often long, keeps what is left
    // and shows whole in its tooltip.
    lstFindings->header()->setStretchLastSection(false);
    lstFindings->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    lstFindings->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    lstFindings->header()->setSectionResizeMode(2, QHeaderView::Interactive);
    lstFindings->header()->resizeSection(2, ui::twipsToPixels(this, 4800));
    // A wrapped sentence takes as many lines as its column's width asks for,
    // once that width has settled.
    m_relayout.setSingleShot(true);
    m_relayout.setInterval(0);
    connect(&m_relayout, &QTimer::timeout, lstFindings, &QTreeView::doItemsLayout);
    connect(lstFindings->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == kSentenceColumn)
            m_relayout.start();
    });

    auto button = [this](const char *name, const char *tag, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setProperty(ui::kTagProperty, QLatin1String(tag));
        b->setAutoDefault(false);
        return b;
    };
    cmdOptions = button("cmdOptions", "1202", QStringLiteral("&Options..."));
    cmdMend = button("cmdMend", "1500", QStringLiteral("&Mend"));
    cmdCheckAgain = button("cmdCheckAgain", "1203", QStringLiteral("Check &Again"));
    cmdClose = button("cmdClose", "1204", QStringLiteral("Close"));
    cmdClose->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdOptions);
    buttons->addWidget(cmdMend);
    buttons->addStretch(1);
    buttons->addWidget(cmdCheckAgain);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstFindings, 1);
    layout->addLayout(buttons);

    connect(cmdOptions, &QPushButton::clicked, this, &frmCheckKit::cmdOptions_Click);
    connect(cmdCheckAgain, &QPushButton::clicked, this, &frmCheckKit::runCheck);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstFindings, &QTreeWidget::currentItemChanged, this, &frmCheckKit::updateOptionsButton);
    connect(lstFindings, &QTreeWidget::itemActivated, this, &frmCheckKit::cmdOptions_Click);
    connect(cmdMend, &QPushButton::clicked, this, &frmCheckKit::cmdMend_Click);
    connect(lstFindings, &QTreeWidget::currentItemChanged, this, &frmCheckKit::updateMendButton);
    lstFindings->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstFindings, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (QTreeWidgetItem *item = lstFindings->itemAt(at)) {
            lstFindings->setCurrentItem(item);
            chooseMend(lstFindings->viewport()->mapToGlobal(at));
        }
    });
    updateMendButton();
}

void frmCheckKit::Form_Load()
{
    ui::LocalizeForm(this);
    runCheck();
    fitToFindings();
    ui::placeBesideOwner(this, parentWidget());
}

void frmCheckKit::fitToFindings()
{
    // Every sentence on one line, beside the other columns as designed, the
    // list's frame and scroll bar and the window's margins; what the screen
    // cannot hold, the rows wrap.
    const int textMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstFindings) + 1);
    const QFontMetrics metrics(lstFindings->font());
    QHeaderView *header = lstFindings->header();
    int sentence = header->sectionSizeHint(kSentenceColumn);
    for (const core::KitFinding &f : m_findings)
        sentence = std::max(sentence, metrics.horizontalAdvance(f.sentence) + textMargins);
    lstFindings->resizeColumnToContents(0);
    const QMargins margins = layout()->contentsMargins();
    const int wanted = margins.left() + margins.right() + 2 * lstFindings->frameWidth()
                       + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lstFindings)
                       + header->sectionSize(0) + sentence + header->sectionSize(2);
    const QWidget *owner = parentWidget() ? parentWidget() : this;
    const QRect room = owner->screen()->availableGeometry();
    const QSize frame = owner->frameGeometry().size() - owner->size();
    resize(std::min(std::max(width(), wanted), room.width() - frame.width()),
           std::min(height(), room.height() - frame.height()));
}

void frmCheckKit::runCheck()
{
    m_findings = m_check ? m_check() : QList<core::KitFinding>();
    // What needs the user's eye first: problems, then warnings, each in the
    // check's own order.
    std::stable_sort(m_findings.begin(), m_findings.end(), [](const core::KitFinding &a, const core::KitFinding &b) {
        return int(a.verdict) > int(b.verdict);
    });
    lstFindings->clear();
    // One row a finding, in the same order: a row's place is its finding's.
    for (const core::KitFinding &f : m_findings) {
        auto *item = new QTreeWidgetItem(lstFindings, {core::settingText(f.setting), f.sentence, f.path});
        item->setIcon(0, verdictIcon(f.verdict));
        item->setToolTip(1, f.sentence);
        item->setToolTip(2, f.path);
    }
    // The first line, the one that most needs the eye, is the current one.
    if (lstFindings->topLevelItemCount() > 0)
        lstFindings->setCurrentItem(lstFindings->topLevelItem(0));
    updateOptionsButton();
}

int frmCheckKit::currentTab() const
{
    const int row = lstFindings->indexOfTopLevelItem(lstFindings->currentItem());
    return row < 0 ? -1 : core::optionsTabOf(m_findings.value(row).setting);
}

void frmCheckKit::updateOptionsButton()
{
    cmdOptions->setEnabled(currentTab() >= 0);
}

void frmCheckKit::cmdOptions_Click()
{
    const int tab = currentTab();
    if (tab < 0 || !m_openOptions)
        return;
    m_openOptions(tab);
    // The settings may have changed there.
    runCheck();
}

void frmCheckKit::setFillSetting(std::function<void(const QString &, const QString &, int)> fill)
{
    m_fill = std::move(fill);
    updateMendButton();
}

QList<core::KitMend> frmCheckKit::currentMends() const
{
    const int row = lstFindings->indexOfTopLevelItem(lstFindings->currentItem());
    QList<core::KitMend> mends = row < 0 ? QList<core::KitMend>() : m_findings.value(row).mends;
    // A setting's mend needs the Options dialog to fill.
    if (!m_fill)
        mends.removeIf([](const core::KitMend &m) { return m.action == core::KitMend::Action::FillSetting; });
    return mends;
}

void frmCheckKit::updateMendButton()
{
    QStringList captions;
    for (const core::KitMend &m : currentMends())
        captions << m.caption;
    cmdMend->setEnabled(!captions.isEmpty());
    cmdMend->setToolTip(captions.join(QLatin1Char('\n')));
}

void frmCheckKit::cmdMend_Click()
{
    const QList<core::KitMend> mends = currentMends();
    // One is taken at once; of several, the one chosen.
    if (mends.size() == 1)
        mend(mends.first());
    else
        chooseMend(cmdMend->mapToGlobal(QPoint(0, cmdMend->height())));
}

void frmCheckKit::chooseMend(const QPoint &globalPosition)
{
    const QList<core::KitMend> mends = currentMends();
    if (mends.isEmpty())
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuMends"));
    for (const core::KitMend &m : mends) {
        // A path's "&" is no access key.
        QString caption = m.caption;
        menu.addAction(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    if (QAction *chosen = menu.exec(globalPosition))
        mend(mends.value(int(menu.actions().indexOf(chosen))));
}

void frmCheckKit::mend(const core::KitMend &mend)
{
    switch (mend.action) {
    case core::KitMend::Action::FillSetting:
        if (m_fill)
            m_fill(mend.setting, mend.value, core::optionsTabOf(mend.setting));
        break;
    case core::KitMend::Action::MakeFolder:
        if (!core::makeMendFolder(mend))
            ui::showMessage(this, windowTitle(), core::message(core::msg::kMendNotMade).arg(mend.value),
                            QMessageBox::Warning);
        break;
    }
    runCheck();
}
