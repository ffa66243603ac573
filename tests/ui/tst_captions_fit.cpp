// Every window of the program, opened as a user meets it, in English and in
// Japanese: each caption shows whole, measured with the font and the text
// flags its own control paints with, and no control lies over it; a fixed
// dialog has a close button only and one size.
#include "core/StringTable.h"
#include "ui/QtTranslations.h"
#include "ui/Twips.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"
#include "ui/frmOptions.h"

#include "support/ModalWait.h"
#include "support/WindowTests.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <QtTest>

namespace {

// A kit with a few packages and the main window over it.
struct Session {
    TestKit kit;
    std::unique_ptr<frmMain> main;
    Session()
    {
        kit.makeSourceFolders({QStringLiteral("hmi"), QStringLiteral("mypkg"), QStringLiteral("mypkg/util")});
        QDir().mkpath(kit.at(QStringLiteral("lib/fb/rt")));
        kit.write(QStringLiteral("TAVO_Starter.dat"), "hmi\r\nmypkg\r\n\r\n\r\nmypkg\r\n\r\n");
        // A file for the choosers' columns: its size in bytes, a long type.
        kit.write(QStringLiteral("src/mypkg/Notes.txt"), QByteArray(136, 'n'));
        main = std::make_unique<frmMain>(kit.path(), placementStore(kit));
        main->show();
    }
};

// One window of the program: how a user opens it (a modal one keeps the
// call until the test has looked at it and closed it), and the top-level
// window that then shows, by object name or class.
struct WindowCase {
    const char *name;
    std::function<void(Session &)> open;
    const char *shows;
};

void optionsOn(Session &s, int tab)
{
    s.main->options().showModeless(tab);
}

const WindowCase kWindows[] = {
    {"main window", [](Session &) {}, "frmMain"},
    {"Options, Editor", [](Session &s) { optionsOn(s, 0); }, "frmOptions"},
    {"Options, Compiler", [](Session &s) { optionsOn(s, 1); }, "frmOptions"},
    {"Options, Properties", [](Session &s) { optionsOn(s, 2); }, "frmOptions"},
    {"About", [](Session &s) { s.main->mnuHelpAbout->trigger(); }, "frmAbout"},
    {"New's input box", [](Session &s) { s.main->cmdNewDir->click(); }, "QInputDialog"},
    {"Select libraries", [](Session &s) { s.main->cmdEditSrcpath->click(); }, "dlgEditSrc"},
    {"Check Kit", [](Session &s) { s.main->mnuToolsCheckKit->trigger(); }, "frmCheckKit"},
    {"Select a File", [](Session &s) { s.main->cmdEdit->click(); }, "dlgEditFileSelect"},
    {"Compile", [](Session &s) { s.main->cmdCompile->click(); }, "frmCompile"},
    {"batch import", [](Session &s) { s.main->mnuLoadEditFile->trigger(); }, "dlgCommonDialog"},
    {"batch export", [](Session &s) { s.main->mnuSaveCompile->trigger(); }, "dlgCommonDialog"},
    {"settings replace question",
     [](Session &s) {
         s.kit.write(QStringLiteral("TAVO_Starter.ini"), "<settings><Editor JREpath=\"a & b\"/></settings>");
         optionsOn(s, 0);
         s.main->options().form()->cmdApply->click();
     },
     "QMessageBox"},
    {"refused package name",
     [](Session &s) {
         whenModalShows<QInputDialog>([](QInputDialog *box) {
             box->setTextValue(QStringLiteral("..\\outside"));
             // Asked again once the message is closed: cancelled then.
             whenModalShows<QInputDialog>([](QInputDialog *again) { again->reject(); });
             box->accept();
         });
         s.main->cmdNewDir->click();
     },
     "QMessageBox"},
    {"workspace file unread at start",
     [](Session &s) {
         s.kit.write(QStringLiteral("TAVO_Starter.dat"), "cut\r\n");
         s.main = std::make_unique<frmMain>(s.kit.path(), placementStore(s.kit));
         s.main->show();
     },
     "QMessageBox"},
    {"system information unavailable",
     [](Session &s) {
         frmAbout box(s.main.get());
         core::SysInfoAccess none;
         none.getKeyValue = [](std::uint32_t, const QString &, const QString &, QString &v) {
             v.clear();
             return false;
         };
         none.isPlainFile = [](const QString &) { return false; };
         none.start = [](const QString &) { return false; };
         box.setSysInfoAccess(none);
         box.Form_Load();
         box.StartSysInfo();
     },
     "QMessageBox"},
};

// Qt's own captions in English: none may show in a Japanese session.
const QStringList kQtEnglish = {
    "Look in:", "File &name:", "File name:", "Files of type:", "&Open", "Open", "&Save", "Save",
    "&Cancel",  "&Yes",        "&No",        "Yes",            "No",    "Cancel", "&Choose", "Directory:"};

// The program's fixed dialogs and boxes: a title bar with a close button
// only, and one size, so that no window manager offers to maximise them.
const QStringList kFixedDialogs = {"frmOptions", "frmAbout", "QInputDialog", "dlgEditSrc", "QMessageBox"};

QString notFixed(QWidget *w)
{
    const Qt::WindowFlags flags = w->windowHandle()->flags();
    if ((flags & Qt::WindowCloseButtonHint) && !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))
        && w->minimumSize() == w->maximumSize())
        return QString();
    return QStringLiteral("close %1, minimise %2, maximise %3, %4 to %5 wide")
        .arg(bool(flags & Qt::WindowCloseButtonHint))
        .arg(bool(flags & Qt::WindowMinimizeButtonHint))
        .arg(bool(flags & Qt::WindowMaximizeButtonHint))
        .arg(w->minimumWidth())
        .arg(w->maximumWidth());
}

bool isShowing(QWidget *w, const char *shows)
{
    return w->isVisible() && w->isWindow() && w->windowHandle() && w->windowHandle()->isExposed()
        && (w->objectName() == QLatin1String(shows) || QLatin1String(w->metaObject()->className()) == shows);
}

// The protected style option of a button, as it paints itself.
template <class Button, class Option>
Option styleOptionOf(const Button *b)
{
    struct Open : Button {
        static void init(const Button *b, Option *o) { (b->*(&Open::initStyleOption))(o); }
    };
    Option o;
    Open::init(b, &o);
    return o;
}

// Where a text of this size shows inside `room` with these flags.
QRect placed(const QWidget *w, int flags, QSize size, QRect room)
{
    return QStyle::alignedRect(w->layoutDirection(), Qt::Alignment(flags & Qt::AlignHorizontal_Mask)
                                   | Qt::Alignment(flags & Qt::AlignVertical_Mask),
                               size, room);
}

struct Caption {
    QString text;
    QRect needs;   // where the whole text shows, in the control
    QRect room;    // what the control gives it
};

// The captions a control shows, with the room it gives each.
QList<Caption> captionsOf(QWidget *w)
{
    QList<Caption> out;
    const QFontMetrics fm(w->font());
    if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty() && l->pixmap().isNull()) {
        const int m = l->margin();
        QRect room = l->contentsRect().adjusted(m, m, -m, -m);
        if (l->indent() > 0)
            room.adjust(l->indent(), 0, 0, 0);
        int flags = int(l->alignment()) | Qt::TextExpandTabs;
        if (l->wordWrap())
            flags |= Qt::TextWordWrap;
        if (l->buddy())
            flags |= Qt::TextShowMnemonic;
        // The captions are plain texts. Centring in a large box rounds; the
        // size is the same without it.
        const int sizing = flags & ~(Qt::AlignVCenter | Qt::AlignHCenter);
        const QSize size =
            fm.boundingRect(QRect(0, 0, l->wordWrap() ? room.width() : 100000, 100000), sizing, l->text()).size();
        out.append({l->text(), placed(l, flags, size, room), room});
    } else if (auto *b = qobject_cast<QPushButton *>(w); b && !b->text().isEmpty()) {
        const QStyleOptionButton o = styleOptionOf<QPushButton, QStyleOptionButton>(b);
        const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b);
        QSize size = fm.size(Qt::TextShowMnemonic, b->text());
        if (!b->icon().isNull())
            size.rwidth() += b->iconSize().width() + 4;
        out.append({b->text(), placed(b, Qt::AlignCenter, size, room), room});
    } else if (auto *t = qobject_cast<QToolButton *>(w);
               t && !t->text().isEmpty() && t->toolButtonStyle() != Qt::ToolButtonIconOnly) {
        const QStyleOptionToolButton o = styleOptionOf<QToolButton, QStyleOptionToolButton>(t);
        const int fw = t->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, t);
        QRect room = t->style()->subControlRect(QStyle::CC_ToolButton, &o, QStyle::SC_ToolButton, t)
                         .adjusted(fw, fw, -fw, -fw);
        if (t->toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
            room.adjust(0, t->iconSize().height() + 3, 0, -1);
        else if (t->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
            room.adjust(t->iconSize().width() + 4, 0, 0, 0);
        const QSize size = fm.size(Qt::TextShowMnemonic, t->text());
        out.append({t->text(), placed(t, Qt::AlignCenter, size, room), room});
    } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
        auto *b = static_cast<QAbstractButton *>(w);
        QStyleOptionButton o;
        o.initFrom(b);
        o.text = b->text();
        const bool check = qobject_cast<QCheckBox *>(w);
        const QRect room = b->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &o, b);
        const QSize size = fm.size(Qt::TextShowMnemonic, b->text());
        if (!b->text().isEmpty())
            out.append({b->text(), placed(b, Qt::AlignLeft | Qt::AlignVCenter, size, room), room});
    } else if (auto *bar = qobject_cast<QTabBar *>(w)) {
        const int h = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            const QRect room = tab.adjusted(h / 2, 0, -(h - h / 2), 0).intersected(bar->rect());
            const QSize size = fm.size(Qt::TextShowMnemonic, bar->tabText(i));
            out.append({bar->tabText(i), placed(bar, Qt::AlignCenter, size, tab), room});
        }
    } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
        const QSize size = fm.size(Qt::TextShowMnemonic, g->title());
        out.append({g->title(), QRect(g->contentsRect().topLeft(), size), g->contentsRect()});
    }
    return out;
}

// A sibling painted over `w` (created or raised after it) that lies on `r`.
QWidget *coveredBy(QWidget *w, const QRect &r)
{
    QWidget *parent = w->parentWidget();
    if (!parent || w->isWindow())
        return nullptr;
    const QRect inParent = r.translated(w->pos());
    const QObjectList siblings = parent->children();
    for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
        auto *other = qobject_cast<QWidget *>(siblings[i]);
        if (other && !other->isWindow() && other->isVisible() && other->geometry().intersects(inParent))
            return other;
    }
    return nullptr;
}

// The cells of a chooser's detail view that do not show whole: narrower
// than their text, or beyond the view's right edge.
QStringList cellsCut(QWidget *window)
{
    QStringList cut;
    auto *details = window->findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!details || !details->isVisible())
        return cut;
    const QAbstractItemModel *model = details->model();
    const QRect room = details->viewport()->rect();
    for (int row = 0; row < model->rowCount(details->rootIndex()); ++row) {
        for (int column = 0; column < model->columnCount(details->rootIndex()); ++column) {
            const QModelIndex cell = model->index(row, column, details->rootIndex());
            const QRect r = details->visualRect(cell);
            if (details->isColumnHidden(column) || !r.intersects(room))
                continue;
            const int needs = static_cast<const QAbstractItemView *>(details)->sizeHintForIndex(cell).width();
            if (r.width() < needs || r.left() < room.left() || r.right() > room.right())
                cut << QStringLiteral("treeView \"%1\" needs %2 px, has %3 of %4 shown")
                           .arg(cell.data().toString())
                           .arg(needs)
                           .arg(r.intersected(room).width())
                           .arg(r.width());
        }
    }
    return cut;
}

// What of a window's captions does not show whole, and in a Japanese
// session which of Qt's English ones it shows; one line a caption.
void lookAt(QWidget *window, bool japanese, QStringList &cut, QStringList &english)
{
    cut << cellsCut(window);
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisible())
            continue;
        for (const Caption &c : captionsOf(w)) {
            const QString what = QStringLiteral("%1 \"%2\"").arg(
                w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName(), c.text);
            if (!c.room.contains(c.needs))
                cut << QStringLiteral("%1 needs %2 x %3 px, has %4 x %5")
                           .arg(what)
                           .arg(c.needs.width())
                           .arg(c.needs.height())
                           .arg(c.room.width())
                           .arg(c.room.height());
            else if (QWidget *over = coveredBy(w, c.needs))
                cut << QStringLiteral("%1 lies under %2").arg(what, over->objectName());
            if (japanese && kQtEnglish.contains(c.text))
                english << what;
        }
    }
}

} // namespace

class TestCaptionsFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The font every caption is measured in, for the reader of a failure.
        qInfo("measured in %s", qPrintable(QFontInfo(QApplication::font()).family()));
    }

    void cleanup()
    {
        core::setCurrentLanguage(core::Language::English);
        ui::loadQtTranslations();
    }

    void everyCaptionShowsWhole_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("japanese");
        for (int i = 0; i < int(std::size(kWindows)); ++i) {
            QTest::addRow("%s, English", kWindows[i].name) << i << false;
            QTest::addRow("%s, Japanese", kWindows[i].name) << i << true;
        }
    }

    void everyCaptionShowsWhole()
    {
        QFETCH(int, window);
        QFETCH(bool, japanese);
        const WindowCase &c = kWindows[window];
        core::setCurrentLanguage(japanese ? core::Language::Japanese : core::Language::English);
        ui::loadQtTranslations();
        Session s;
        QVERIFY(QTest::qWaitForWindowExposed(s.main.get()));

        // Looked at once it shows, then closed, so that a modal one returns.
        bool seen = false;
        QStringList cut, english;
        QString loose;
        QTimer poll;
        poll.setInterval(10);
        int waited = 0;
        connect(&poll, &QTimer::timeout, this, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (!isShowing(w, c.shows))
                    continue;
                // A chooser reads its folder after it shows: looked at once
                // its cells show whole, or after a second at most.
                if (auto *chooser = qobject_cast<QFileDialog *>(w)) {
                    auto *details = chooser->findChild<QTreeView *>(QStringLiteral("treeView"));
                    if ((!details || details->model()->rowCount(details->rootIndex()) == 0
                         || !cellsCut(w).isEmpty())
                        && ++waited < 100)
                        return;
                }
                poll.stop();
                seen = true;
                lookAt(w, japanese, cut, english);
                if (kFixedDialogs.contains(QLatin1String(c.shows)))
                    loose = notFixed(w);
                if (auto *dialog = qobject_cast<QDialog *>(w))
                    dialog->reject();
                return;
            }
        });
        poll.start();
        c.open(s);
        QTRY_VERIFY(seen);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
        QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1String("; "))));
        QVERIFY2(loose.isEmpty(), qPrintable(loose));
    }

    // Qt's words follow the program's language, those its own catalogue
    // lacks included.
    void qtWordsInTheUsersLanguage()
    {
        const QString folder = QFileIconProvider().type(QFileInfo(QDir::tempPath()));
#ifdef Q_OS_WIN
        QCOMPARE(folder, QStringLiteral("File Folder"));
#else
        QCOMPARE(folder, QStringLiteral("Folder"));
#endif
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
        core::setCurrentLanguage(core::Language::Japanese);
        ui::loadQtTranslations();
#ifdef Q_OS_WIN
        QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QString::fromUtf8("ファイル フォルダー"));
#else
        QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QString::fromUtf8("フォルダー"));
#endif
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QString::fromUtf8("アドレス:"));
    }

    // The room a caption gets: a strip opened across the designed layout.
    void roomInsertedAcrossTheLayout_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("room");
        QTest::addColumn<QList<int>>("expected");  // box a's start and length, then b's, then the window's
        // a: 100..300, b: 300..400, window 0..1000.
        QTest::newRow("below both") << true << 500 << 60 << QList<int>{100, 200, 300, 100, 0, 1060};
        QTest::newRow("at a's end") << true << 300 << 60 << QList<int>{100, 200, 360, 100, 0, 1060};
        QTest::newRow("inside a") << false << 200 << 60 << QList<int>{100, 260, 360, 100, 0, 1060};
        QTest::newRow("at a's start") << false << 100 << 60 << QList<int>{160, 200, 360, 100, 0, 1060};
        QTest::newRow("no room needed") << true << 200 << -30 << QList<int>{100, 200, 300, 100, 0, 1000};
    }

    void roomInsertedAcrossTheLayout()
    {
        QFETCH(bool, vertical);
        QFETCH(int, at);
        QFETCH(int, room);
        QFETCH(QList<int>, expected);
        auto box = [vertical](int start, int length) {
            return vertical ? ui::TwipsRect{7, start, 50, length} : ui::TwipsRect{start, 7, length, 50};
        };
        ui::TwipsRect a = box(100, 200), b = box(300, 100), window = box(0, 1000);
        ui::insertRoom({&a, &b, &window}, vertical ? Qt::Vertical : Qt::Horizontal, at, room);
        QList<int> got;
        for (const ui::TwipsRect &r : {a, b, window}) {
            got << (vertical ? r.top : r.left) << (vertical ? r.height : r.width);
            // The other direction is left alone.
            QCOMPARE(vertical ? QPoint(r.left, r.width) : QPoint(r.top, r.height), QPoint(7, 50));
        }
        QCOMPARE(got, expected);
    }
};

QTEST_MAIN(TestCaptionsFit)
#include "tst_captions_fit.moc"
