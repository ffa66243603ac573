#include "core/CompilerOutput.h"
#include "core/StringTable.h"
#include "ui/ListRows.h"
#include "ui/MainLayout.h"
#include "ui/frmMain.h"

#include "support/WindowTests.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <QPushButton>

namespace {

QStringList listOf(frmMain &w)
{
    return ui::listEntries(w.lstsrcpath);
}

// Records each status text, marked when the busy pointer shows with it.
class WatchedMain : public frmMain
{
public:
    using frmMain::frmMain;
    void setStatusText(const QString &text) override
    {
        seen << (cursor().shape() == Qt::WaitCursor ? QStringLiteral("[busy] ") : QString()) + text;
        frmMain::setStatusText(text);
    }
    QStringList seen;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { core::setCurrentLanguage(core::Language::English); }
    void controlsAndMenus();
    void japaneseCaptions();
    void separatorsAreLinesOnly_data();
    void separatorsAreLinesOnly();
    void firstStartPlacement();
    void storedPlacementApplied_data();
    void storedPlacementApplied();
    void storedSizeReachedWhenTheFrameComesLate();
    void resizeRule();
    void keyTable_data();
    void keyTable();
    void buttonsMoveEntries();
    void workspaceRestoredAndSaved();
    void workspaceStatusAndPointer();
    void badWorkspaceFiles_data();
    void badWorkspaceFiles();
    void unreadWorkspaceFile_data();
    void unreadWorkspaceFile();
    void unreadSettingsFileReported();
    void failureTextsReadWhole();
    void unloadOrder();
    void minimisedWritesNoPlacement();
};

void TestMainWindow::controlsAndMenus()
{
    TestKit kit;
    frmMain w(kit.path(), placementStore(kit));
    QCOMPARE(w.windowTitle(), QStringLiteral("TAVO Starter"));
    QCOMPARE(w.objectName(), QStringLiteral("frmMain"));
    QCOMPARE(w.property("Tag").toString(), QStringLiteral("2"));
    QCOMPARE(w.cmdEdit->text(), QStringLiteral("&Open Editor"));
    QCOMPARE(w.cmdCompile->text(), QStringLiteral("&Compile"));
    QCOMPARE(w.cmdUp->text(), QStringLiteral("↑"));
    QCOMPARE(w.cmdDwn->text(), QStringLiteral("↓"));
    QCOMPARE(w.cmdNewDir->text(), QStringLiteral("&New..."));
    QCOMPARE(w.cmdEditSrcpath->text(), QStringLiteral("&Libs..."));
    QCOMPARE(w.cmdDelete->text(), QStringLiteral("&Delete..."));
    QVERIFY(w.cmdDelete->isHidden());
    QCOMPARE(w.sbPanelText->text(), QString()); // cleared by the workspace load

    QCOMPARE(w.mnuFile->title(), QStringLiteral("&File"));
    const QList<QAction *> file = w.mnuFile->actions();
    QCOMPARE(file.size(), 7);
    QCOMPARE(file[0]->text(), QStringLiteral("Import Editor.bat(&O)..."));
    QCOMPARE(file[0]->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(file[1]->text(), QStringLiteral("Import Compiler.bat(&O)..."));
    QVERIFY(file[2]->isSeparator());
    QCOMPARE(file[3]->text(), QStringLiteral("Export Editor.bat(&S)..."));
    QCOMPARE(file[3]->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(file[4]->text(), QStringLiteral("Export Compiler.bat(&S)..."));
    QVERIFY(file[5]->isSeparator());
    QCOMPARE(file[6]->text(), QStringLiteral("E&xit"));
    QCOMPARE(w.mnuTools->title(), QStringLiteral("&Tool"));
    QCOMPARE(w.mnuToolsOptions->text(), QStringLiteral("&Option..."));
    QCOMPARE(w.mnuHelp->title(), QStringLiteral("&Help"));
    const QList<QAction *> help = w.mnuHelp->actions();
    QCOMPARE(help.size(), 3);
    QCOMPARE(help[0]->text(), QStringLiteral("BlockEditor&Help..."));
    QVERIFY(help[1]->isSeparator());
    QCOMPARE(help[2]->text(), QStringLiteral("&About TAVO Starter..."));

    // Down the right-hand column: up, down, new, libs.
    const auto &l = w.layoutTwips();
    QVERIFY(l.cmdUp.top < l.cmdDwn.top && l.cmdDwn.top < l.cmdNewDir.top &&
            l.cmdNewDir.top < l.cmdEditSrcpath.top);
    QCOMPARE(w.cmdUp->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(w.cmdEditSrcpath->focusPolicy(), Qt::StrongFocus);
}

void TestMainWindow::japaneseCaptions()
{
    core::setCurrentLanguage(core::Language::Japanese);
    TestKit kit;
    frmMain w(kit.path(), placementStore(kit));
    QCOMPARE(w.windowTitle(), QStringLiteral("TAVO Starter"));
    QCOMPARE(w.cmdEdit->text(), QString::fromUtf8("Editorを開く(&O)"));
    QCOMPARE(w.cmdCompile->text(), QString::fromUtf8("コンパイル(&C)"));
    QCOMPARE(w.cmdEditSrcpath->text(), QString::fromUtf8("ﾗｲﾌﾞﾗﾘ..."));
    QCOMPARE(w.mnuFile->title(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    QCOMPARE(w.mnuFileExit->text(), QString::fromUtf8("終了(&X)"));
    QCOMPARE(w.mnuHelpAbout->text(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    QCOMPARE(w.cmdUp->text(), QStringLiteral("↑"));
}

// A separator entry shows as its line only, in either language: drawn as a
// separator without a caption would be, while its designed caption "-"
// stays for the caption loader.
void TestMainWindow::separatorsAreLinesOnly_data()
{
    QTest::addColumn<bool>("japanese");
    QTest::newRow("English") << false;
    QTest::newRow("Japanese") << true;
}

void TestMainWindow::separatorsAreLinesOnly()
{
    QFETCH(bool, japanese);
    core::setCurrentLanguage(japanese ? core::Language::Japanese : core::Language::English);
    TestKit kit;
    frmMain w(kit.path(), placementStore(kit));
    const auto drawn = [](QMenu *menu, QAction *entry) {
        menu->adjustSize();
        QImage image(menu->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        menu->render(&image);
        return image.copy(menu->actionGeometry(entry));
    };
    int separators = 0;
    for (QMenu *menu : {w.mnuFile, w.mnuTools, w.mnuHelp}) {
        for (QAction *entry : menu->actions()) {
            if (!entry->isSeparator())
                continue;
            ++separators;
            QCOMPARE(entry->text(), QStringLiteral("-"));
            QMenu plain;
            plain.setStyle(menu->style());
            plain.setFont(menu->font());
            plain.addAction(QStringLiteral("x"));
            QAction *line = plain.addSeparator();
            plain.addAction(QStringLiteral("y"));  // a separator at the end is not shown
            plain.setFixedWidth(menu->sizeHint().width());
            QCOMPARE(drawn(menu, entry), drawn(&plain, line));
        }
    }
    QCOMPARE(separators, 3);
}

void TestMainWindow::firstStartPlacement()
{
    TestKit kit;
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const double tpp = w.twipsPerPixel();
    // The outer size is reached once the window system has added its frame.
    QTRY_COMPARE(w.frameGeometry().width(), qRound(6500 / tpp));
    QTRY_COMPARE(w.frameGeometry().height(), qRound(6500 / tpp));
    QCOMPARE(w.frameGeometry().x(), qRound(1000 / tpp));
    QCOMPARE(w.frameGeometry().y(), qRound(1000 / tpp));
}

// The stored placement, as long as a screen could show it (the core's table
// has every rule): a value that is no number or a size no screen holds (a
// spoiled store) counts as absent, a window whose title bar is off every
// screen comes onto it.
void TestMainWindow::storedPlacementApplied_data()
{
    QTest::addColumn<QStringList>("stored");  // left, top, width, height
    QTest::addColumn<QRect>("placed");        // twips; -1 for the screen's edge
    QTest::newRow("as stored, no number its default") << QStringList{"3000", "1500", "not a number", "4500"}
                                                      << QRect(3000, 1500, 6500, 4500);
    QTest::newRow("off the screen") << QStringList{"-30000", "1500", "6500", "4500"} << QRect(-1, 1500, 6500, 4500);
    QTest::newRow("2,000,000,000 twips") << QStringList{"1500", "1500", "2000000000", "2000000000"}
                                         << QRect(1500, 1500, 6500, 6500);
}

void TestMainWindow::storedPlacementApplied()
{
    QFETCH(QStringList, stored);
    QFETCH(QRect, placed);
    TestKit kit;
    {
        QSettings s(kit.at("placement.ini"), QSettings::IniFormat);
        const char *keys[] = {"Settings/MainLeft", "Settings/MainTop", "Settings/MainWidth", "Settings/MainHeight"};
        for (int i = 0; i < 4; ++i)
            s.setValue(keys[i], stored[i]);
    }
    frmMain w(kit.path(), placementStore(kit));
    const double tpp = w.twipsPerPixel();
    const int left = placed.left() == -1 ? w.screen()->availableGeometry().left() : qRound(placed.left() / tpp);
    QCOMPARE(w.frameGeometry(), QRect(left, qRound(placed.top() / tpp), qRound(placed.width() / tpp),
                                      qRound(placed.height() / tpp)));
    // Shown, it is the size asked for, not the window system's largest.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.frameGeometry().size(), QSize(qRound(placed.width() / tpp), qRound(placed.height() / tpp)));
}

void TestMainWindow::storedSizeReachedWhenTheFrameComesLate()
{
    TestKit kit;
    {
        QSettings s(kit.at("placement.ini"), QSettings::IniFormat);
        s.setValue("Settings/MainWidth", "7200");
        s.setValue("Settings/MainHeight", "5400");
    }
    frmMain w(kit.path(), placementStore(kit));
    const double tpp = w.twipsPerPixel();
    const QSize outer(qRound(7200 / tpp), qRound(5400 / tpp));
    // Shown before the window system has put its frame around it...
    w.setWindowFlag(Qt::FramelessWindowHint);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(300);
    QCOMPARE(w.frameGeometry().size(), outer);
    // ...which comes long after, announced by the window moving into it.
    w.setWindowFlag(Qt::FramelessWindowHint, false);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.windowHandle()->setPosition(w.windowHandle()->position() + QPoint(2, 2));
    const QMargins frame = w.windowHandle()->frameMargins();
    if (frame.isNull())
        QSKIP("this window system draws no frame");
    QTRY_COMPARE(w.frameGeometry().size(), outer);
    QCOMPARE(w.size(), outer.shrunkBy(frame));
}

void TestMainWindow::resizeRule()
{
    ui::MainLayout l;
    ui::applyResizeRule(l, 6500, 6000, 270);
    QCOMPARE(l.cmdEdit.width, 3075);
    QCOMPARE(l.cmdCompile.left, 3245);
    QCOMPARE(l.cmdCompile.width, 3075);
    QCOMPARE(l.lstsrcpath.width, 5155);
    QCOMPARE(l.cmdUp.left, 5325);
    for (int left : {l.cmdDwn.left, l.cmdNewDir.left, l.cmdDelete.left, l.cmdEditSrcpath.left})
        QCOMPARE(left, 5325);
    QCOMPARE(l.cmdUp.left + l.cmdUp.width, 6500 - 200);
    QCOMPARE(l.lstsrcpath.height, 6000 - 270 - 960 - 50);
    QCOMPARE(l.cmdEdit.left, 120);
    QCOMPARE(l.lstsrcpath.top, 960);

    // Half a twip goes to the even neighbour.
    ui::applyResizeRule(l, 6501, 6000, 270);
    QCOMPARE(l.cmdEdit.width, 3076);
    ui::applyResizeRule(l, 6503, 6000, 270);
    QCOMPARE(l.cmdEdit.width, 3076);

    // A tiny window: refused sizes keep their last value, the rest still apply.
    ui::applyResizeRule(l, 6500, 6000, 270);
    ui::applyResizeRule(l, 300, 900, 270);
    QCOMPARE(l.cmdEdit.width, 3075);
    QCOMPARE(l.cmdCompile.width, 3075);
    QCOMPARE(l.cmdCompile.left, 3245);
    QCOMPARE(l.lstsrcpath.width, 5155);  // 300 - 120 - 975 - 250 < 0: refused
    QCOMPARE(l.cmdUp.left, 5325);
    QCOMPARE(l.lstsrcpath.height, 6000 - 270 - 960 - 50);
    ui::applyResizeRule(l, 1400, 900, 270);
    QCOMPARE(l.cmdEdit.width, 525);
    QCOMPARE(l.lstsrcpath.width, 55);
    QCOMPARE(l.cmdUp.left, 225);

    // The real window lays itself out by the same rule.
    TestKit kit;
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const double tpp = w.twipsPerPixel();
    const int W = qRound(w.frameGeometry().width() * tpp);
    QCOMPARE(w.layoutTwips().cmdUp.left + w.layoutTwips().cmdUp.width, W - 200);
    QVERIFY(qAbs(w.cmdUp->x() - (w.lstsrcpath->geometry().right() + 1) - qRound(50 / tpp)) <= 1);
}

// The keys as they reach the list: the table itself is the core's (its
// test has every row); here each of its actions once, and Qt's own codes
// that must not reach it.
void TestMainWindow::keyTable_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("selected");  // in a, b, c before the key
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    const int none = Qt::NoModifier;
    const int alt = Qt::AltModifier;
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int keypad = Qt::KeypadModifier;
    const QStringList abc{"a", "b", "c"};

    QTest::newRow("Alt+Up") << int(Qt::Key_Up) << alt << 1 << QStringList{"b", "a", "c"} << 0;
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << alt << 1 << QStringList{"a", "c", "b"} << 2;
    QTest::newRow("Down is the list's own") << int(Qt::Key_Down) << none << 0 << abc << 1;
    QTest::newRow("Ctrl+A restores the selection") << int(Qt::Key_A) << ctrl << 1 << abc << 1;
    QTest::newRow("Ctrl+A, nothing selected") << int(Qt::Key_A) << ctrl << -1 << abc << -1;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << 1 << QStringList{"a", "c"} << -1;
    QTest::newRow("keypad Delete") << int(Qt::Key_Delete) << keypad << 0 << QStringList{"b", "c"} << -1;
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << shift << 2 << QStringList{"a", "b"} << -1;
    QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << ctrl << 1 << abc << 1;
    // Keys whose own codes equal the table's Delete, Up and Down ("&" and "("
    // are unshifted on some layouts).
    QTest::newRow(".") << int(Qt::Key_Period) << none << 1 << abc << 1;
    QTest::newRow("keypad . with NumLock") << int(Qt::Key_Period) << keypad << 1 << abc << 1;
    QTest::newRow("Ctrl+.") << int(Qt::Key_Period) << ctrl << 1 << abc << 1;
    QTest::newRow("&") << int(Qt::Key_Ampersand) << none << 1 << abc << 1;
    QTest::newRow("Alt+&") << int(Qt::Key_Ampersand) << alt << 1 << abc << 1;
    QTest::newRow("(") << int(Qt::Key_ParenLeft) << none << 1 << abc << 1;
    QTest::newRow("Alt+(") << int(Qt::Key_ParenLeft) << alt << 1 << abc << 1;
}

void TestMainWindow::keyTable()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    TestKit kit;
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QListWidget *list = w.lstsrcpath;
    list->addItems({"a", "b", "c"});
    ui::selectRow(list, selected);
    list->setFocus();
    QTest::keyClick(list, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(listOf(w), after);
    QCOMPARE(ui::selectedRow(list), selectedAfter);
    // No other row stays selected behind the view's back.
    QCOMPARE(list->selectedItems().size(), selectedAfter >= 0 ? 1 : 0);
}

void TestMainWindow::buttonsMoveEntries()
{
    TestKit kit;
    QVERIFY(kit.write("TAVO_Starter.dat", "a\r\nb\r\n\r\n\r\nb\r\n\r\n"));
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.cmdUp, Qt::LeftButton);
    QCOMPARE(listOf(w), (QStringList{"b", "a"}));
    QCOMPARE(ui::selectedRow(w.lstsrcpath), 0);
    QTest::mouseClick(w.cmdDwn, Qt::LeftButton);
    QCOMPARE(listOf(w), (QStringList{"a", "b"}));
    QCOMPARE(ui::selectedRow(w.lstsrcpath), 1);
}

void TestMainWindow::workspaceRestoredAndSaved()
{
    TestKit kit;
    QVERIFY(kit.write("TAVO_Starter.dat", "net\r\nmypkg\\util\r\nhmi\r\nhmi\r\n\r\n\r\nhmi\r\nMyFB.fbt\r\n"));
    {
        frmMain w(kit.path(), placementStore(kit));
        QCOMPARE(listOf(w), (QStringList{"net", "mypkg\\util", "hmi", "hmi"}));
        QCOMPARE(ui::selectedRow(w.lstsrcpath), 2); // the upper of two equal texts
        QCOMPARE(w.workspace().EditFileName, QStringLiteral("MyFB.fbt"));
        QCOMPARE(w.statusText(), QString());
        // Nothing is written before exit.
        QCOMPARE(kit.read("TAVO_Starter.dat"), QByteArray("net\r\nmypkg\\util\r\nhmi\r\nhmi\r\n\r\n\r\nhmi\r\nMyFB.fbt\r\n"));
        w.lstsrcpath->addItem("");  // an import can leave an empty entry
        w.lstsrcpath->addItem("new");
        setEditFileName(w, "Other.res");
        w.mnuFileExit->trigger();
    }
    QCOMPARE(kit.read("TAVO_Starter.dat"), QByteArray("net\r\nmypkg\\util\r\nhmi\r\nhmi\r\nnew\r\n\r\n\r\nhmi\r\nOther.res\r\n"));

    // A selected text that matches nothing selects nothing.
    QVERIFY(kit.write("TAVO_Starter.dat", "a\r\n\r\n\r\nzz\r\n\r\n"));
    frmMain again(kit.path(), placementStore(kit));
    QCOMPARE(listOf(again), QStringList{"a"});
    QCOMPARE(ui::selectedRow(again.lstsrcpath), -1);
}

void TestMainWindow::workspaceStatusAndPointer()
{
    // The load in the constructor runs before a subclass can watch it: run
    // it again, on a window that loaded nothing.
    TestKit kit;
    WatchedMain w(kit.path(), placementStore(kit));
    QVERIFY(kit.write("TAVO_Starter.dat", "a\r\n\r\n\r\na\r\n\r\n"));
    w.LoadWorkspace();
    QCOMPARE(w.seen, (QStringList{"Load workspace...", "[busy] Loading...", "[busy] "}));
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(listOf(w), QStringList{"a"});

    w.seen.clear();
    w.close();
    QCOMPARE(w.seen, (QStringList{"Save workspace...", "[busy] Saving...", "[busy] "}));
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
}

// Garbage, long lines, an early end and a file that cannot be opened: the
// window starts with what the reader yields. A file that was there but gave
// no entry stays as it was at exit (unreadWorkspaceFile: unless the user
// agrees to replace it); one that gave its entries is written again.
void TestMainWindow::badWorkspaceFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");  // empty: a folder in the file's place
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QByteArray>("atExit");
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char(0x80 + (i * 131 + 7) % 128);
    const QByteArray x(300000, 'x');
    const QStringList none;
    QTest::newRow("garbage") << garbage << none << garbage;
    QTest::newRow("ends before the separator") << QByteArray("a\r\nb\r\n") << none << QByteArray("a\r\nb\r\n");
    QTest::newRow("cannot be opened") << QByteArray() << none << QByteArray();
    QTest::newRow("long lines") << x + "\r\n\r\n\r\n" + x + "\r\n" << QStringList{QString(x)}
                                << x + "\r\n\r\n\r\n" + x + "\r\n\r\n";
    QTest::newRow("an empty workspace") << QByteArray("\r\n\r\n\r\n\r\n") << none << QByteArray("\r\n\r\n\r\n\r\n");
}

void TestMainWindow::badWorkspaceFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, loaded);
    QFETCH(QByteArray, atExit);
    TestKit kit;
    if (bytes.isEmpty())
        QVERIFY(QDir(kit.path()).mkdir("TAVO_Starter.dat"));
    else
        QVERIFY(kit.write("TAVO_Starter.dat", bytes));
    frmMain w(kit.path(), placementStore(kit));
    QCOMPARE(listOf(w), loaded);
    QCOMPARE(ui::selectedRow(w.lstsrcpath), loaded.isEmpty() ? -1 : 0);
    QCOMPARE(w.workspace().EditFileName, QString());
    QCOMPARE(w.statusText(), QString());
    w.close();
    if (bytes.isEmpty())
        QVERIFY(QFileInfo(kit.dat()).isDir()); // the save fails quietly
    else
        QCOMPARE(kit.read("TAVO_Starter.dat"), atExit);
}

// A workspace file cut before its two empty lines is said, whole, once the
// window shows; the first change to the list asks once whether it may be
// replaced: Yes replaces it at exit, No keeps it.
void TestMainWindow::unreadWorkspaceFile_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("atExit");
    QTest::newRow("Yes replaces it") << true << QByteArray("c\r\nd\r\n\r\n\r\n\r\n\r\n");
    QTest::newRow("No keeps it") << false << QByteArray("a\r\nb\r\n");
}

void TestMainWindow::unreadWorkspaceFile()
{
    QFETCH(bool, yes);
    QFETCH(QByteArray, atExit);
    TestKit kit;
    QVERIFY(kit.write("TAVO_Starter.dat", "a\r\nb\r\n"));
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QMessageBox *said = nullptr;
    QTRY_VERIFY((said = w.findChild<QMessageBox *>()) && said->isVisible());
    QCOMPARE(said->windowModality(), Qt::NonModal);
    QCOMPARE(said->text(), QStringLiteral("TAVO_Starter.dat could not be read (it ends before its list does, or cannot "
                                          "be opened), so the list starts empty. The file is kept as it is: the first "
                                          "change to the list asks before it is replaced."));
    said->accept();

    QStringList asked;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto *q = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            asked << q->text();
            q->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        }
    });
    answer.start(10);
    w.lstsrcpath->addItem("c");
    QTRY_COMPARE(asked.size(), 1);
    QVERIFY(asked[0].startsWith(QStringLiteral("TAVO_Starter.dat could not be read at start")));
    w.lstsrcpath->addItem("d");
    QTest::qWait(100);
    QCOMPARE(asked.size(), 1);
    w.close();
    QCOMPARE(kit.read("TAVO_Starter.dat"), atExit);
}

// Every text the status panel shows for something that went wrong, and the
// compile's end line, is readable whole in a window of the default size, in
// both languages: measured in the panel's font at its width, it fits the
// panel's height, and the panel lies whole in the window, below the list.
void TestMainWindow::failureTextsReadWhole()
{
    using namespace core::msg;
    using Kind = platform::ProcessEnd::Kind;
    using How = core::CompileEnd::How;
    const QString kit = QStringLiteral("C:\\Users\\engineer\\TAVO\\kit");
    TestKit files;
    frmMain w(files.path(), placementStore(files));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QStringList unreadable;
    for (const core::Language language : {core::Language::English, core::Language::Japanese}) {
        core::setCurrentLanguage(language);
        const QStringList texts{
            core::message(kEditNoExtension), core::message(kEditNoSourceRoot), core::message(kEditNotStarted),
            core::message(kCompileNotStarted), core::message(kSourceRootUnreadable).arg(kit + "\\src"),
            core::message(kFoldersUnreadable).arg("src\\net\\tcp"), core::message(kSettingsUnread).arg("TAVO_Starter.ini"),
            core::message(kExportOutsideCodePage), core::message(kFoldersOutsideCodePage).arg("src\\plant\\pompe"),
            core::message(kFileNotSaved).arg(kit + "\\Compiler.bat"), core::message(kExportNoEditorLine).arg("README"),
            core::message(kFoldersNotHeldAsIs).arg("src\\plant\\pompe"), core::message(kLinksNotFollowed).arg("src\\loop"),
            core::message(kEditorEndedAtOnce).arg(core::processEndText({Kind::Exited, 1, {}})),
            core::compileEndText({How::Ended, {Kind::Crashed, 0xC0000005u, {}}, 123, 45}),
            core::compileEndText({How::Ended, {Kind::Signalled, 11, "SIGSEGV"}, 123, 45}),
            core::compileEndText({How::Ended, {Kind::Exited, 0, {}}, 0, 45}),
            core::compileEndText({How::Stopped, {Kind::Signalled, 9, "SIGKILL"}, 123, 45})};
        for (const QString &text : texts) {
            w.setStatusText(text);
            QCoreApplication::processEvents();
            QLabel *panel = w.sbPanelText;
            const QRect room = panel->contentsRect();
            const QRect needed =
                panel->fontMetrics().boundingRect(room, int(panel->alignment()) | Qt::TextWordWrap, panel->text());
            const QRect inWindow(panel->mapTo(&w, QPoint()), panel->size());
            const int listBottom = w.lstsrcpath->mapTo(&w, QPoint(0, w.lstsrcpath->height())).y();
            if (needed.height() > room.height() || needed.width() > room.width() || !w.rect().contains(inWindow)
                || inWindow.top() < listBottom)
                unreadable << text;
        }
    }
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(u'\n')));
}

// A settings file that cannot be read is said in the status panel when the
// settings are first used.
void TestMainWindow::unreadSettingsFileReported()
{
    TestKit kit;
    QFile ini(kit.ini());
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("<settings><Editor JREpath=\"&\"/></settings>");
    ini.close();
    frmMain w(kit.path(), placementStore(kit));
    QCOMPARE(w.statusText(), QString());
    QCOMPARE(w.settings().value("JREpath"), QStringLiteral("..\\bin\\jre"));
    QCOMPARE(w.statusText(), QStringLiteral("TAVO_Starter.ini cannot be read; the defaults are in use"));
}

void TestMainWindow::unloadOrder()
{
    TestKit kit;
    {
        QSettings s(kit.at("placement.ini"), QSettings::IniFormat);
        s.setValue("Settings/MainLeft", "3000");
        s.setValue("Settings/MainTop", "3000");
        s.setValue("Settings/MainWidth", "7500");
        s.setValue("Settings/MainHeight", "6000");
    }
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.lstsrcpath->addItem("pkg");
    w.move(100, 80); // the user moves it
    // A compile reads settings: that loads the Options window without showing it.
    QCOMPARE(w.settings().value("Compiler"), QStringLiteral("..\\bin\\jikes"));
    QVERIFY(w.options().isLoaded());

    QStringList steps;
    QByteArray datWhenOptionsUnloaded;
    QString placementWhenOptionsUnloaded;
    connect(&w, &frmMain::unloadStep, this, [&](const QString &step) {
        steps << step;
        if (step == "frmOptions") {
            datWhenOptionsUnloaded = kit.read("TAVO_Starter.dat");
            placementWhenOptionsUnloaded = storedPlacement(kit, "MainLeft");
        }
    });
    w.close();
    QCOMPARE(steps, (QStringList{"SaveWorkspace", "frmOptions", "placement"}));
    QCOMPARE(datWhenOptionsUnloaded, QByteArray("pkg\r\n\r\n\r\n\r\n\r\n"));
    QCOMPARE(placementWhenOptionsUnloaded, QStringLiteral("3000"));
    QVERIFY(!w.options().isLoaded());
    // The placement the window was given comes back (whole pixels at 96 dots
    // per inch, 15 twips each).
    if (w.twipsPerPixel() != 15.0)
        QSKIP("the screen is not at 96 dots per inch");
    QCOMPARE(storedPlacement(kit, "MainLeft"), QStringLiteral("1500"));
    QCOMPARE(storedPlacement(kit, "MainTop"), QStringLiteral("1200"));
    QCOMPARE(storedPlacement(kit, "MainWidth"), QStringLiteral("7500"));
    QCOMPARE(storedPlacement(kit, "MainHeight"), QStringLiteral("6000"));
}

void TestMainWindow::minimisedWritesNoPlacement()
{
    TestKit kit;
    {
        QSettings s(kit.at("placement.ini"), QSettings::IniFormat);
        s.setValue("Settings/MainLeft", "1500");
    }
    frmMain w(kit.path(), placementStore(kit));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.showMinimized();
    QTRY_VERIFY(w.isMinimized());
    QSignalSpy steps(&w, &frmMain::unloadStep);
    w.close();
    QCOMPARE(storedPlacement(kit, "MainLeft"), QStringLiteral("1500"));
    QCOMPARE(storedPlacement(kit, "MainWidth"), QString());
    QVERIFY(QFileInfo::exists(kit.dat())); // the workspace is still saved
    QCOMPARE(steps.count(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
