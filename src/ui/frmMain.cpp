#include "ui/frmMain.h"

#include "core/FileFilters.h"
#include "core/Placement.h"
#include "core/StringTable.h"
#include "core/WorkspaceFile.h"
#include "platform/NativePath.h"
#include "ui/BatchFiles.h"
#include "ui/LaunchActions.h"
#include "ui/LibrarySelection.h"
#include "ui/ListRows.h"
#include "ui/LocalizeForm.h"
#include "ui/MessageBoxes.h"
#include "ui/NewPackage.h"
#include "ui/frmCheckKit.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kDefaultLeft = 1000;
constexpr int kDefaultTop = 1000;
constexpr int kDefaultWidth = 6500;
constexpr int kDefaultHeight = 6500;

// A small icon of the program's own: a function block with one input and one
// output.
QIcon programIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(0, 128, 128));
    p.drawRect(8, 4, 16, 24);
    p.drawLine(1, 16, 8, 16);
    p.drawLine(24, 16, 31, 16);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.drawText(QRect(8, 4, 16, 24), Qt::AlignCenter, QStringLiteral("T"));
    return QIcon(pixmap);
}

// The key table's codes for the keys it knows. Qt's own codes must not reach
// it: "." is 46 there, the table's Delete, and "&" and "(" are its Up and
// Down. Every other key gets a code that matches no row.
int keyCodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_A:
        return 65;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

int shiftMaskOf(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= core::kShiftMask;
    if (modifiers & Qt::ControlModifier)
        mask |= core::kCtrlMask;
    if (modifiers & Qt::AltModifier)
        mask |= core::kAltMask;
    return mask;
}

// A stored placement value: decimal text; anything else counts as absent.
std::optional<int> placementValue(QSettings &store, const QString &key)
{
    const QVariant stored = store.value(key);
    if (!stored.isValid())
        return std::nullopt;
    bool ok = false;
    const double value = stored.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return ui::roundHalfEven(value);
}

// The largest window the window systems draw: their coordinates are 16-bit.
constexpr int kLargestWindowPixels = 32767;

// Draws a separator entry as its line only. Its designed caption, "-", stays
// the entry's text, as the caption loader reads it; the style would paint
// it before the line, as it does a section's title.
class SeparatorsAsLines : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto line = element == CE_MenuItem ? separatorLine(option) : std::nullopt;
        QProxyStyle::drawControl(element, line ? &*line : option, painter, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        const auto line = type == CT_MenuItem ? separatorLine(option) : std::nullopt;
        return QProxyStyle::sizeFromContents(type, line ? &*line : option, size, widget);
    }

private:
    // A separator's option without its caption; nothing for other entries.
    static std::optional<QStyleOptionMenuItem> separatorLine(const QStyleOption *option)
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (!item || item->menuItemType != QStyleOptionMenuItem::Separator)
            return std::nullopt;
        QStyleOptionMenuItem line(*item);
        line.text.clear();
        return line;
    }
};

} // namespace

std::unique_ptr<QSettings> defaultPlacementStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("TAVO_Starter"), QStringLiteral("TAVO_Starter"));
}

frmMain::frmMain(const QString &appPath, PlacementStoreFactory placementStore, QWidget *parent)
    : QMainWindow(parent),
      m_kit(appPath),
      m_placementStore(std::move(placementStore)),
      m_options(m_kit, this, [this](const QString &text) { setStatusText(text); })
{
    setObjectName(QStringLiteral("frmMain"));
    setProperty(ui::kTagProperty, QStringLiteral("2"));
    setWindowTitle(QStringLiteral("TAVO Starter"));
    setWindowIcon(programIcon());
    buildControls();
    buildMenus();
    buildStatusBar();
    // The window keeps no minimum size of its own: the status bar's panels
    // may be cut off in a small window, as the layout rule expects.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    Form_Load();
}

frmMain::~frmMain()
{
    // The list goes with the base class, after this part of the window is
    // gone: its last signals must not reach it.
    lstsrcpath->model()->disconnect(this);
}

void frmMain::buildControls()
{
    central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(central);

    auto bigButton = [this](const char *name, const char *tag, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(central);
        b->setObjectName(QLatin1String(name));
        b->setProperty(ui::kTagProperty, QLatin1String(tag));
        b->setText(QLatin1String(tag));
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setFocusPolicy(Qt::StrongFocus);
        return b;
    };
    cmdEdit = bigButton("cmdEdit", "1026", QStyle::SP_FileDialogDetailedView);
    cmdCompile = bigButton("cmdCompile", "1027", QStyle::SP_MediaPlay);

    auto sideButton = [this](const char *name, const QString &tag, const QString &caption, bool tabStop) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QLatin1String(name));
        if (!tag.isEmpty())
            b->setProperty(ui::kTagProperty, tag);
        b->setAutoDefault(false);
        b->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        return b;
    };
    cmdUp = sideButton("cmdUp", QString(), QStringLiteral("↑"), false);
    cmdDwn = sideButton("cmdDwn", QString(), QStringLiteral("↓"), false);

    lstsrcpath = new QListWidget(central);
    lstsrcpath->setObjectName(QStringLiteral("lstsrcpath"));
    lstsrcpath->setSelectionMode(QAbstractItemView::SingleSelection);
    lstsrcpath->setSortingEnabled(false);
    lstsrcpath->installEventFilter(this);

    cmdEditSrcpath = sideButton("cmdEditSrcpath", QStringLiteral("1031"), QStringLiteral("編集"), true);
    cmdNewDir = sideButton("cmdNewDir", QStringLiteral("1030"), QStringLiteral("New..."), false);
    cmdDelete = sideButton("cmdDelete", QStringLiteral("1032"), QStringLiteral("Del"), false);
    cmdDelete->setVisible(false);

    setTabOrder(cmdEdit, cmdCompile);
    setTabOrder(cmdCompile, cmdUp);
    setTabOrder(cmdUp, cmdDwn);
    setTabOrder(cmdDwn, lstsrcpath);
    setTabOrder(lstsrcpath, cmdEditSrcpath);
    setTabOrder(cmdEditSrcpath, cmdNewDir);
    setTabOrder(cmdNewDir, cmdDelete);

    // The handlers that reach beyond this window take it as their context.
    connect(cmdEdit, &QToolButton::clicked, this, [this] { ui::cmdEdit_Click(*this); });
    connect(cmdCompile, &QToolButton::clicked, this, [this] { ui::cmdCompile_Click(*this); });
    connect(cmdUp, &QPushButton::clicked, this, &frmMain::cmdUp_Click);
    connect(cmdDwn, &QPushButton::clicked, this, &frmMain::cmdDwn_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdEditSrcpath, &QPushButton::clicked, this, [this] { ui::cmdEditSrcpath_Click(*this); });
    connect(cmdNewDir, &QPushButton::clicked, this, [this] { ui::cmdNewDir_Click(*this); });

    // cmdEdit is the default button: Enter presses it, unless another button
    // has the focus, which Enter then presses.
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        enter->setContext(Qt::WindowShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
                button && button->window() == this)
                button->click();
            else
                cmdEdit->click();
        });
    }
}

void frmMain::buildMenus()
{
    auto entry = [this](QMenu *menu, const char *name, const char *id) {
        auto *a = new QAction(QLatin1String(id), this);
        a->setObjectName(QLatin1String(name));
        menu->addAction(a);
        return a;
    };
    auto separator = [this](QMenu *menu, const char *name) {
        auto *a = new QAction(QStringLiteral("-"), this);
        a->setObjectName(QLatin1String(name));
        a->setSeparator(true);
        menu->addAction(a);
        return a;
    };
    auto *lines = new SeparatorsAsLines(QApplication::style()->name());
    lines->setParent(this);
    auto topMenu = [this, lines](const char *name, const char *id) {
        auto *m = new QMenu(QLatin1String(id), this);
        m->setObjectName(QLatin1String(name));
        m->setStyle(lines);
        menuBar()->addMenu(m);
        return m;
    };

    mnuFile = topMenu("mnuFile", "1000");
    mnuLoadEditFile = entry(mnuFile, "mnuLoadEditFile", "1021");
    mnuLoadEditFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuLoadCompile = entry(mnuFile, "mnuLoadCompile", "1022");
    mnuFileBar1 = separator(mnuFile, "mnuFileBar1");
    mnuSaveEdit = entry(mnuFile, "mnuSaveEdit", "1023");
    mnuSaveEdit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveCompile = entry(mnuFile, "mnuSaveCompile", "1024");
    mnuFileBar3 = separator(mnuFile, "mnuFileBar3");
    mnuFileExit = entry(mnuFile, "mnuFileExit", "1001");

    mnuTools = topMenu("mnuTools", "1002");
    mnuToolsOptions = entry(mnuTools, "mnuToolsOptions", "1003");
    mnuToolsCheckKit = entry(mnuTools, "mnuToolsCheckKit", "1200");
    mnuToolsCompileResults = entry(mnuTools, "mnuToolsCompileResults", "1478");

    mnuHelp = topMenu("mnuHelp", "1004");
    mnuBlockEditorHelp = entry(mnuHelp, "mnuBlockEditorHelp", "1025");
    mnuFileBar2 = separator(mnuHelp, "mnuFileBar2");
    mnuHelpAbout = entry(mnuHelp, "mnuHelpAbout", "1005");

    connect(mnuLoadEditFile, &QAction::triggered, this, [this] { ui::mnuLoadEditFile_Click(*this); });
    connect(mnuLoadCompile, &QAction::triggered, this, [this] { ui::mnuLoadCompile_Click(*this); });
    connect(mnuSaveEdit, &QAction::triggered, this, [this] { ui::mnuSaveEdit_Click(*this); });
    connect(mnuSaveCompile, &QAction::triggered, this, [this] { ui::mnuSaveCompile_Click(*this); });
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::close);
    connect(mnuToolsOptions, &QAction::triggered, this, &frmMain::mnuToolsOptions_Click);
    connect(mnuToolsCheckKit, &QAction::triggered, this, &frmMain::mnuToolsCheckKit_Click);
    // The last compile's window, as it was left; there is none before the
    // first compile.
    connect(mnuTools, &QMenu::aboutToShow, this,
            [this] { mnuToolsCompileResults->setEnabled(ui::compileWindowLoaded(*this)); });
    connect(mnuToolsCompileResults, &QAction::triggered, this, [this] { ui::showCompileResults(*this); });
    connect(mnuBlockEditorHelp, &QAction::triggered, this, [this] { ui::mnuBlockEditorHelp_Click(*this); });
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::buildStatusBar()
{
    sbStatusBar = new QStatusBar(this);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(true);
    setStatusBar(sbStatusBar);
    const int minimum = ui::twipsToPixels(this, 1440);
    auto panel = [this, minimum](const char *name, const QString &text) {
        auto *label = new QLabel(text, sbStatusBar);
        label->setObjectName(QLatin1String(name));
        label->setMinimumWidth(minimum);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        return label;
    };
    sbPanelText = panel("sbPanelText", QStringLiteral("ｽﾃｰﾀｽ"));
    sbPanelText->setWordWrap(true);
    sbPanelDate = panel("sbPanelDate", QString());
    sbPanelTime = panel("sbPanelTime", QString());
    sbStatusBar->addWidget(sbPanelText, 1);
    sbStatusBar->addPermanentWidget(sbPanelDate);
    sbStatusBar->addPermanentWidget(sbPanelTime);
    updateClock();
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &frmMain::updateClock);
    clock->start(1000);
}

void frmMain::updateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    sbPanelDate->setText(QLocale::system().toString(now.date(), QLocale::ShortFormat));
    sbPanelTime->setText(QLocale::system().toString(now.time(), QLocale::ShortFormat));
}

double frmMain::twipsPerPixel() const
{
    return ui::twipsPerPixel(this);
}

QRect frmMain::outerBounds() const
{
    // The window system's own figure: the widget's may still hold the frame
    // of the normal window after a maximise (whichever of the window
    // manager's news comes first), a border the maximised window has not.
    return windowHandle() ? windowHandle()->frameGeometry() : frameGeometry();
}

core::Workspace frmMain::workspace() const
{
    core::Workspace w;
    w.entries = ui::listEntries(lstsrcpath);
    w.selected = ui::selectedRow(lstsrcpath);
    w.EditFileName = m_editFileName;
    return w;
}

void frmMain::setWorkspace(const core::Workspace &workspace)
{
    ui::showEntries(lstsrcpath, workspace.entries, workspace.selected);
    m_editFileName = workspace.EditFileName;
}

QString frmMain::statusText() const
{
    return m_statusText;
}

void frmMain::setStatusText(const QString &text)
{
    m_statusText = text;
    // A long path may break after any of its separators, rather than be
    // cut at the panel's edge.
    QString shown = text;
    shown.replace(QLatin1Char('\\'), QStringLiteral("\\\u200B")).replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    sbPanelText->setText(shown);
    // Where even a grown panel cuts a text (a long list of folders), its
    // tooltip holds it all.
    sbPanelText->setToolTip(text);
    fitStatusText();
}

void frmMain::fitStatusText()
{
    // A text longer than the panel is wide goes on over more lines, and the
    // status bar grows to hold it (up to a third of the window's height);
    // the list above it gives up the room, as the layout rule has it.
    const int oneLine = sbPanelText->fontMetrics().height() + sbPanelText->height() - sbPanelText->contentsRect().height();
    const int needed = std::clamp(sbPanelText->heightForWidth(sbPanelText->width()), oneLine, std::max(oneLine, height() / 3));
    if (needed == sbPanelText->minimumHeight())
        return;
    sbPanelText->setFixedHeight(needed);
    Form_Resize();
}

void frmMain::setBusy(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmMain::showOptionsModeless(int tab)
{
    m_options.showModeless(tab);
}

void frmMain::Form_Load()
{
    ui::LocalizeForm(this);

    if (m_placementStore) {
        std::unique_ptr<QSettings> store = m_placementStore();
        store->beginGroup(QStringLiteral("Settings"));
        core::StoredPlacement stored;
        stored.left = placementValue(*store, QStringLiteral("MainLeft"));
        stored.top = placementValue(*store, QStringLiteral("MainTop"));
        stored.width = placementValue(*store, QStringLiteral("MainWidth"));
        stored.height = placementValue(*store, QStringLiteral("MainHeight"));
        // A spoiled store must neither hide the window nor make one larger
        // than the window system can draw.
        const double tpp = twipsPerPixel();
        const auto twips = [tpp](int pixels) {
            return int(qBound(qint64(INT_MIN), qRound64(pixels * tpp), qint64(INT_MAX)));
        };
        QList<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens()) {
            const QRect r = screen->availableGeometry();
            screens << QRect(twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height()));
        }
        const QRect placed = core::placeMainWindow(
            stored, QRect(kDefaultLeft, kDefaultTop, kDefaultWidth, kDefaultHeight), screens,
            twips(style()->pixelMetric(QStyle::PM_TitleBarHeight)),
            QSize(twips(kLargestWindowPixels), twips(kLargestWindowPixels)));
        move(ui::twipsToPixels(this, placed.left()), ui::twipsToPixels(this, placed.top()));
        // No frame is known before the window is shown: the inner size
        // stands in for the outer one until the window system reports it.
        resize(ui::twipsToPixels(this, placed.width()), ui::twipsToPixels(this, placed.height()));
        m_pendingOuterSize = placed.size();
    }

    m_filterIndexByExtension = core::filterIndexByExtension();

    LoadWorkspace();
    applyLayout();
}

bool frmMain::event(QEvent *event)
{
    // The deferred delete that closing posts (delete-on-close) ends this
    // window inside the base class: nothing of it may be read afterwards.
    if (event->type() == QEvent::DeferredDelete)
        return QMainWindow::event(event);
    const bool handled = QMainWindow::event(event);
    if (m_pendingOuterSize)
        reachStoredOuterSize();
    return handled;
}

void frmMain::reachStoredOuterSize()
{
    if (!isVisible())
        return;
    // A window the user has maximised or minimised by then stays so.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        m_pendingOuterSize.reset();
        return;
    }
    // Asked of the window system each time: the widget's own frame geometry
    // is only brought up to date by a move or a resize.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull())
        return;
    const QSize outer = *m_pendingOuterSize;
    m_pendingOuterSize.reset();
    resize(qMax(1, ui::twipsToPixels(this, outer.width()) - frame.left() - frame.right()),
           qMax(1, ui::twipsToPixels(this, outer.height()) - frame.top() - frame.bottom()));
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    Form_Resize();
    if (m_workspaceFileUnread && !m_workspaceFileUnreadSaid) {
        m_workspaceFileUnreadSaid = true;
        // Once the window is there to stand beside.
        QTimer::singleShot(0, this, &frmMain::sayWorkspaceFileUnread);
    }
}

QString frmMain::workspaceFileName() const
{
    return QFileInfo(platform::nativePath(m_kit.workspaceFile())).fileName();
}

void frmMain::sayWorkspaceFileUnread()
{
    // Whole, in a box of its own rather than the status panel; the window
    // stays usable meanwhile.
    ui::showMessageModeless(this, QStringLiteral("TAVO_Starter"),
                            core::message(core::msg::kWorkspaceUnreadAtStart).arg(workspaceFileName()),
                            QMessageBox::Warning);
}

void frmMain::askToReplaceUnreadWorkspaceFile()
{
    m_replaceUnreadFile = ui::askYesNo(this, QStringLiteral("TAVO_Starter"),
                                       core::message(core::msg::kWorkspaceReplace).arg(workspaceFileName()));
}

bool frmMain::keepsUnreadWorkspaceFile() const
{
    return m_workspaceFileUnread && !m_replaceUnreadFile;
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize()
{
    fitStatusText();
    const double tpp = twipsPerPixel();
    const int outerWidth = qRound(outerBounds().width() * tpp);
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    const int clientHeight = qRound((height() - menuHeight) * tpp);
    const int statusHeight = qRound(sbStatusBar->sizeHint().height() * tpp);
    ui::applyResizeRule(m_layout, outerWidth, clientHeight, statusHeight);
    applyLayout();
}

void frmMain::applyLayout()
{
    auto place = [this](QWidget *w, const ui::TwipsRect &r) { w->setGeometry(ui::twipsToPixels(this, r)); };
    place(cmdEdit, m_layout.cmdEdit);
    place(cmdCompile, m_layout.cmdCompile);
    place(cmdUp, m_layout.cmdUp);
    place(cmdDwn, m_layout.cmdDwn);
    place(lstsrcpath, m_layout.lstsrcpath);
    place(cmdEditSrcpath, m_layout.cmdEditSrcpath);
    place(cmdNewDir, m_layout.cmdNewDir);
    place(cmdDelete, m_layout.cmdDelete);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded)
        Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    m_unloaded = true;
    SaveWorkspace();
    emit unloadStep(QStringLiteral("SaveWorkspace"));

    // The other windows, most recently loaded first.
    if (ui::compileWindowLoaded(*this)) {
        ui::unloadCompileWindow(*this);
        emit unloadStep(QStringLiteral("frmCompile"));
    }
    if (m_about.isLoaded()) {
        m_about.unload();
        emit unloadStep(QStringLiteral("frmAbout"));
    }
    if (m_options.isLoaded()) {
        m_options.unload();
        emit unloadStep(QStringLiteral("frmOptions"));
    }

    if (!isMinimized() && m_placementStore) {
        const double tpp = twipsPerPixel();
        const QRect outer = outerBounds();
        std::unique_ptr<QSettings> store = m_placementStore();
        store->beginGroup(QStringLiteral("Settings"));
        store->setValue(QStringLiteral("MainLeft"), QString::number(qRound(outer.x() * tpp)));
        store->setValue(QStringLiteral("MainTop"), QString::number(qRound(outer.y() * tpp)));
        store->setValue(QStringLiteral("MainWidth"), QString::number(qRound(outer.width() * tpp)));
        store->setValue(QStringLiteral("MainHeight"), QString::number(qRound(outer.height() * tpp)));
        store->endGroup();
        store->sync();
        emit unloadStep(QStringLiteral("placement"));
    }
}

void frmMain::SaveWorkspace()
{
    setStatusText(QStringLiteral("Save workspace..."));
    setBusy(true);
    setStatusText(QStringLiteral("Saving..."));
    // A file that was there but gave no entry (held by another program at
    // start, or cut short) still holds the user's list: it is replaced only
    // when the user has said so.
    const bool saved = keepsUnreadWorkspaceFile() || core::writeWorkspaceFile(m_kit, workspace());
    // Exit goes on either way; the previous file is as it was.
    setStatusText(saved ? QString() : core::message(core::msg::kFileNotSaved).arg(workspaceFileName()));
    setBusy(false);
}

void frmMain::LoadWorkspace()
{
    setStatusText(QStringLiteral("Load workspace..."));
    setBusy(true);
    setStatusText(QStringLiteral("Loading..."));
    {
        const QScopedValueRollback<bool> loading(m_loadingWorkspace, true);
        const core::WorkspaceRead read = core::readWorkspaceFile(m_kit, workspace());
        setWorkspace(read.workspace);
        m_workspaceFileUnread = read.fileUnread;
        lstsrcpath->update();
    }
    setStatusText(QString());
    setBusy(false);
    watchListChanges();
}

void frmMain::watchListChanges()
{
    if (m_listWatched)
        return;
    m_listWatched = true;
    QAbstractItemModel *model = lstsrcpath->model();
    const auto changed = [this] {
        if (m_loadingWorkspace || !m_workspaceFileUnread || m_replaceAsked)
            return;
        m_replaceAsked = true;
        // Not in the middle of the change that is being made.
        QTimer::singleShot(0, this, &frmMain::askToReplaceUnreadWorkspaceFile);
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::rowsMoved, this, changed);
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    connect(model, &QAbstractItemModel::modelReset, this, changed);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstsrcpath && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int keyCode = keyCodeOf(key->key());
        const int shift = shiftMaskOf(key->modifiers());
        lstsrcpath_KeyDown(keyCode, shift);
        // The list itself ignores Alt with the arrow keys, as native lists do;
        // everything else it still handles.
        const core::ListKeyAction action = core::listKeyAction(keyCode, shift);
        if (action == core::ListKeyAction::MoveUp || action == core::ListKeyAction::MoveDown)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::lstsrcpath_KeyDown(int keyCode, int shift)
{
    switch (core::listKeyAction(keyCode, shift)) {
    case core::ListKeyAction::SelectAll:
        SelectAllPaths();
        break;
    case core::ListKeyAction::MoveUp:
        cmdUp_Click();
        break;
    case core::ListKeyAction::MoveDown:
        cmdDwn_Click();
        break;
    case core::ListKeyAction::Delete:
        cmdDelete_Click();
        break;
    case core::ListKeyAction::None:
        break;
    }
}

void frmMain::SelectAllPaths()
{
    const int remembered = ui::selectedRow(lstsrcpath);
    // Disabling the list would hand its keyboard focus on; keep it.
    const bool hadFocus = lstsrcpath->hasFocus();
    lstsrcpath->setEnabled(false);
    ui::selectAllRows(lstsrcpath);
    ui::selectRow(lstsrcpath, remembered);
    lstsrcpath->setEnabled(true);
    if (hadFocus)
        lstsrcpath->setFocus();
}

void frmMain::cmdUp_Click()
{
    setWorkspace(core::moveUp(workspace()));
}

void frmMain::cmdDwn_Click()
{
    setWorkspace(core::moveDown(workspace()));
}

void frmMain::cmdDelete_Click()
{
    setWorkspace(core::deleteSelected(workspace()));
}

void frmMain::mnuHelpAbout_Click()
{
    m_about.show(this);
}

void frmMain::mnuToolsOptions_Click()
{
    m_options.showModal();
}

void frmMain::mnuToolsCheckKit_Click()
{
    // Over what Compile and Open Editor would use: the live settings and the
    // list as they stand. An unread workspace file matters only while it is
    // kept; once the user has agreed, the list replaces it.
    // Options waits until it closes, even when it was open already, so that
    // it takes input above this window and the check runs after it.
    frmCheckKit box(
        [this] {
            return core::checkKit(m_kit, settings(), workspace(), m_options.loadOutcome(),
                                  keepsUnreadWorkspaceFile());
        },
        [this](int tab) { m_options.showAndWait(tab); }, this);
    // A mend fills the field and shows it; OK saves it, as any edit.
    box.setFillSetting([this](const QString &key, const QString &value, int tab) {
        m_options.setValue(key, value);
        m_options.showAndWait(tab);
    });
    box.Form_Load();
    box.exec();
}
