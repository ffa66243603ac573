// The library selection dialog, opened the way the "&Libs..." button opens
// it and driven with keys and clicks.
#include "core/StringTable.h"
#include "ui/LibrarySelection.h"
#include "ui/ListRows.h"
#include "ui/ScanProgress.h"
#include "ui/dlgEditSrc.h"

#include "support/FakeMain.h"
#include "support/ModalWait.h"
#include "support/TestFiles.h"
#include "support/TestKit.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <climits>
#include <functional>
#include <memory>
#include <optional>

namespace {

// The main window as the dialog's handler sees it, with its "&Libs..."
// button.
class LibsMain : public FakeMain
{
public:
    explicit LibsMain(const QString &appPath) : FakeMain(appPath)
    {
        auto *layout = new QVBoxLayout(&window);
        libs = new QPushButton(QStringLiteral("&Libs..."), &window);
        layout->addWidget(libs);
        QObject::connect(libs, &QPushButton::clicked, [this] { ui::cmdEditSrcpath_Click(*this); });
    }
    void setEntries(const QStringList &entries, int selected) { ws = core::Workspace{entries, selected, {}}; }
    QStringList entries() const { return ws.entries; }
    int selected() const { return ws.selected; }

    QPushButton *libs = nullptr;
};

#ifndef Q_OS_WIN
// A folder that nobody can list, root included: the end of a chain of
// folders inside `parent` whose full path is longer than the system takes,
// while its parent's is not, so that the parent's listing still shows it.
// QDir cannot reach it to remove it; it is removed from inside its parent.
struct UnlistableFolder {
    QStringList levels; // from `parent` down to it

    explicit UnlistableFolder(const QString &parent) : m_parent(parent), m_deepest(parent)
    {
        while (QFile::encodeName(m_deepest).size() < PATH_MAX - 251) {
            levels << QString(100, QLatin1Char('d'));
            QDir().mkdir(m_deepest += QLatin1Char('/') + levels.last());
        }
        levels << QString(250, QLatin1Char('x'));
        inDeepest([this] { QDir().mkdir(levels.last()); });
    }
    ~UnlistableFolder()
    {
        inDeepest([this] { QDir().rmdir(levels.last()); });
        QDir(m_parent + QLatin1Char('/') + levels.first()).removeRecursively();
    }

private:
    void inDeepest(const std::function<void()> &step) const
    {
        const QString saved = QDir::currentPath();
        if (QDir::setCurrent(m_deepest))
            step();
        QDir::setCurrent(saved);
    }
    QString m_parent;
    QString m_deepest;
};
#endif

QStringList dialogEntries(const dlgEditSrc *d)
{
    return ui::listEntries(d->lstsrcpath);
}

QStringList checkedEntries(const dlgEditSrc *d)
{
    QStringList out;
    for (int i = 0; i < d->lstsrcpath->count(); ++i) {
        if (d->lstsrcpath->item(i)->checkState() == Qt::Checked)
            out << d->lstsrcpath->item(i)->text();
    }
    return out;
}

// Toggles one entry's tick the way a user does: make it current, press
// Space.
void toggle(dlgEditSrc *d, const QString &text)
{
    const auto found = d->lstsrcpath->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    d->lstsrcpath->setFocus();
    d->lstsrcpath->setCurrentItem(found.first());
    QTest::keyClick(d->lstsrcpath, Qt::Key_Space);
}

// Presses "&Libs..." and runs `drive` on the dialog once it is up. Returns
// how many dialogs were seen.
int openDialog(LibsMain &main, const std::function<void(dlgEditSrc *)> &drive)
{
    return clickAndDrive<dlgEditSrc>(main.libs, drive);
}

void pressOK(dlgEditSrc *d)
{
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
}


} // namespace

class tst_DlgEditSrc : public QObject
{
    Q_OBJECT
    // A tree big enough that the scan has to let events run several times;
    // made once, as that takes long under Wine.
    std::unique_ptr<TestKit> m_wide;
    const TestKit &wideTree()
    {
        if (!m_wide) {
            m_wide = std::make_unique<TestKit>();
            m_wide->makeSourceFolders({});
            QDir root(m_wide->sourceFolder(QString()));
            for (int i = 0; i < 150; ++i) {
                const QString top = QStringLiteral("t%1").arg(i);
                root.mkdir(top);
                for (int j = 0; j < 150; ++j)
                    root.mkdir(top + QStringLiteral("/s%1").arg(j));
            }
        }
        return *m_wide;
    }

private slots:
    void init() { core::setCurrentLanguage(core::Language::English); }

    void opensWithTreeTicksAndNoCurrentItem_data();
    void opensWithTreeTicksAndNoCurrentItem();
    void keysAndDefaultButton();
    void unknownEntriesRemovedByOkKeptByCancel_data();
    void unknownEntriesRemovedByOkKeptByCancel();
    void newTicksAppendedInScanOrder();
    void nameOutsideTheCodePageIsShownNotAdded();
    void selectAllAndClearKeepDialogCurrentItem();
    void unlistableFolderKeepsWhatLiesBelow_data();
    void unlistableFolderKeepsWhatLiesBelow();
    void missingRootOpensNoDialog();
    void eachClickMakesAFreshDialog();
    void mainWindowTakesNoInputWhileScanning();
    void longScanShowsProgressAndCancels();
    void linksNotFollowedKeepTheirEntries();
    void namesNoEntryCanHoldAreShownNotAdded();
};

void tst_DlgEditSrc::opensWithTreeTicksAndNoCurrentItem_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("English") << int(core::Language::English) << QStringLiteral("Select libraries")
                             << QStringList{"OK", "Cancel", "Sel &All", "&Clear"};
    QTest::newRow("Japanese") << int(core::Language::Japanese) << QStringLiteral("ライブラリの選択")
                              << QStringList{"OK", "ｷｬﾝｾﾙ", "全選択(&A)", "クリア"};
}

void tst_DlgEditSrc::opensWithTreeTicksAndNoCurrentItem()
{
    QFETCH(int, language);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    core::setCurrentLanguage(core::Language(language));
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"fb\\rt", "test"}));
    LibsMain main(kit.path());
    main.setEntries({"test", "fb\\rt", "gone"}, 1);
    const int seen = openDialog(main, [&](dlgEditSrc *d) {
        QCOMPARE(d->objectName(), QStringLiteral("dlgEditSrc"));
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE((QStringList{d->OKButton->text(), d->CancelButton->text(), d->cmdSelAll->text(),
                              d->Command1->text()}),
                 captions);
        QCOMPARE(d->lstsrcpath->objectName(), QStringLiteral("lstsrcpath"));
        QStringList shown = dialogEntries(d);
        shown.sort();
        QCOMPARE(shown, (QStringList{"fb", "fb\\rt", "test"}));
        QStringList ticked = checkedEntries(d);
        ticked.sort();
        QCOMPARE(ticked, (QStringList{"fb\\rt", "test"}));
        QCOMPARE(d->lstsrcpath->currentRow(), -1);
        QVERIFY(d->lstsrcpath->selectedItems().isEmpty());
        // Fixed border, no minimise or maximise.
        QCOMPARE(d->minimumSize(), d->maximumSize());
        QVERIFY(!(d->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(d->windowFlags() & Qt::WindowMaximizeButtonHint));
        d->CancelButton->click();
    });
    QCOMPARE(seen, 1);
    QCOMPARE(main.entries(), (QStringList{"test", "fb\\rt", "gone"}));
}

void tst_DlgEditSrc::keysAndDefaultButton()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a", "b"}));
    LibsMain main(kit.path());
    main.setEntries({"a", "gone"}, 0);

    // Enter on the list presses nothing; Esc cancels.
    openDialog(main, [&](dlgEditSrc *d) {
        for (QPushButton *b : {d->OKButton, d->CancelButton, d->cmdSelAll, d->Command1})
            QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->objectName()));
        d->lstsrcpath->setFocus();
        QTest::keyClick(d->lstsrcpath, Qt::Key_Return);
        QVERIFY(d->isVisible());
        QCOMPARE(checkedEntries(d), QStringList{"a"});
        QTest::keyClick(d->lstsrcpath, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(main.entries(), (QStringList{"a", "gone"}));

    // Enter presses the button that has the focus; the tab order leads
    // from the list to OK.
    openDialog(main, [&](dlgEditSrc *d) {
        d->lstsrcpath->setFocus();
        QTest::keyClick(d->lstsrcpath, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->OKButton);
        QTest::keyClick(d->OKButton, Qt::Key_Tab);
        QTest::keyClick(d->CancelButton, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->cmdSelAll);
        QTest::keyClick(d->cmdSelAll, Qt::Key_Return);
        QCOMPARE(checkedEntries(d).size(), 2);
        d->OKButton->setFocus();
        QTest::keyClick(d->OKButton, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!d->isVisible());
    });
    QCOMPARE(main.entries(), (QStringList{"a", "b"}));

    // The close box changes nothing.
    main.setEntries({"gone"}, 0);
    openDialog(main, [&](dlgEditSrc *d) {
        toggle(d, QStringLiteral("a"));
        d->close();
    });
    QCOMPARE(main.entries(), QStringList{"gone"});
    QCOMPARE(main.selected(), 0);
}

void tst_DlgEditSrc::unknownEntriesRemovedByOkKeptByCancel_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("afterOk");
    QTest::newRow("missing and case-different")
        << QStringList{"gone", "a", "A", "b\\Deep", "b"} << QStringList{"a", "b"};
    QTest::newRow("hidden and skipped directories")
        << QStringList{".hidden", "pagefile.sys", "a"} << QStringList{"a"};
}

void tst_DlgEditSrc::unknownEntriesRemovedByOkKeptByCancel()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, afterOk);
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a\\x", "b\\deep", "my.pkg", ".hidden", "pagefile.sys"}));
    LibsMain main(kit.path());

    main.setEntries(before, 0);
    openDialog(main, [](dlgEditSrc *d) { d->CancelButton->click(); });
    QCOMPARE(main.entries(), before);
    QCOMPARE(main.selected(), 0);

    openDialog(main, pressOK);
    QCOMPARE(main.entries(), afterOk);
    // The current entry was among the removed ones, or kept its text.
    const int expected = afterOk.indexOf(before.first());
    QCOMPARE(main.selected(), expected);
}

void tst_DlgEditSrc::newTicksAppendedInScanOrder()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"p\\q", "r", "s\\t", "u"}));
    LibsMain main(kit.path());
    main.setEntries({"u", "zzz"}, 0);
    QStringList scanOrder;
    openDialog(main, [&](dlgEditSrc *d) {
        scanOrder = dialogEntries(d);
        // Ticked bottom-up; the list must not take that order.
        QStringList wanted{"p\\q", "r", "s\\t"};
        std::sort(wanted.begin(), wanted.end(),
                  [&](const QString &x, const QString &y) { return scanOrder.indexOf(x) > scanOrder.indexOf(y); });
        for (const QString &w : wanted)
            toggle(d, w);
        // Ticking "u" twice leaves it ticked as it was.
        toggle(d, QStringLiteral("u"));
        toggle(d, QStringLiteral("u"));
        pressOK(d);
    });
    QStringList added;
    for (const QString &e : scanOrder) {
        if (e == QLatin1String("p\\q") || e == QLatin1String("r") || e == QLatin1String("s\\t"))
            added << e;
    }
    QCOMPARE(main.entries(), QStringList{"u"} + added);
    QCOMPARE(main.selected(), 0);
}

// A folder whose name the workspace file cannot hold (1252, where the
// Windows tests run, has no omega) is shown and may be ticked, but OK does
// not add it, and says so: it would come back naming another folder.
void tst_DlgEditSrc::nameOutsideTheCodePageIsShownNotAdded()
{
#ifndef Q_OS_WIN
    QSKIP("every folder name here fits the system's code page (UTF-8)");
#else
    TestKit kit;
    const QString omega = QString::fromUtf8("\xCE\xA9mega");
    QVERIFY(kit.makeSourceFolders({omega, "plain"}));
    LibsMain main(kit.path());
    main.setEntries({"plain"}, 0);
    openDialog(main, [&](dlgEditSrc *d) {
        QVERIFY(dialogEntries(d).contains(omega));
        toggle(d, omega);
        pressOK(d);
    });
    QCOMPARE(main.entries(), QStringList{"plain"});
    QCOMPARE(main.selected(), 0);
    QCOMPARE(main.status, omega + " not added: the system's code page cannot hold the name");
#endif
}

void tst_DlgEditSrc::selectAllAndClearKeepDialogCurrentItem()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a", "b", "c"}));
    LibsMain main(kit.path());
    main.setEntries({"b"}, 0);
    openDialog(main, [](dlgEditSrc *d) {
        // No current item stays none; the keyboard works them too.
        QTest::keyClick(d, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(checkedEntries(d).size(), 3);
        QCOMPARE(d->lstsrcpath->currentRow(), -1);
        QTest::keyClick(d, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(checkedEntries(d), QStringList());
        QCOMPARE(d->lstsrcpath->currentRow(), -1);

        d->lstsrcpath->setCurrentRow(2);
        QTest::mouseClick(d->cmdSelAll, Qt::LeftButton);
        QCOMPARE(d->lstsrcpath->currentRow(), 2);
        QCOMPARE(checkedEntries(d).size(), 3);
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCOMPARE(d->lstsrcpath->currentRow(), 2);
        QCOMPARE(checkedEntries(d), QStringList());
        d->CancelButton->click();
    });
    QCOMPARE(main.entries(), QStringList{"b"});
}

void tst_DlgEditSrc::unlistableFolderKeepsWhatLiesBelow_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("status");  // %1: the folder
    QTest::newRow("English") << int(core::Language::English)
                             << QStringLiteral("Cannot read %1; the entries below it stay in the list");
    QTest::newRow("Japanese") << int(core::Language::Japanese)
                              << QString::fromUtf8("%1 を読み込めません。その下の項目はリストに残します");
}

void tst_DlgEditSrc::unlistableFolderKeepsWhatLiesBelow()
{
#ifdef Q_OS_WIN
    // Windows reaches long paths, and a folder is unlistable there only by
    // its access list, which Wine run as root does not enforce.
    QSKIP("the unlistable folder is made through POSIX path limits");
#else
    QFETCH(int, language);
    QFETCH(QString, status);
    core::setCurrentLanguage(core::Language(language));
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a", "pkg"}));
    std::optional<UnlistableFolder> deep(std::in_place, kit.sourceFolder("pkg"));
    // The scan shows the folder but not what lies below it.
    const QString folder = "pkg\\" + deep->levels.join('\\');
    const QStringList below{folder + "\\util", folder + "\\util\\deeper"};
    LibsMain main(kit.path());
    main.setEntries({below[0], folder, folder + "x", "gone", below[1], "a"}, 0);

    // The folder's own entry is judged as any other; what lies below it
    // stays where it is; a sibling that merely starts alike does not.
    openDialog(main, pressOK);
    QCOMPARE(main.entries(), (QStringList{below[0], folder, below[1], "a"}));
    QCOMPARE(main.selected(), 0);
    QCOMPARE(main.status, status.arg(QStringLiteral("src/") + QString(folder).replace('\\', '/')));

    openDialog(main, [&](dlgEditSrc *d) {
        toggle(d, folder);
        pressOK(d);
    });
    QCOMPARE(main.entries(), (QStringList{below[0], below[1], "a"}));

    // Once the folder is gone, the report goes and the entries are judged.
    deep.reset();
    openDialog(main, pressOK);
    QCOMPARE(main.status, QString());
    QCOMPARE(main.entries(), QStringList{"a"});
#endif
}

void tst_DlgEditSrc::missingRootOpensNoDialog()
{
    TestKit kit; // no src folder
    LibsMain main(kit.path());
    main.setEntries({"a", "b"}, 1);
    QCOMPARE(openDialog(main, pressOK), 0);
    QCOMPARE(main.entries(), (QStringList{"a", "b"}));
    QCOMPARE(main.selected(), 1);
    QCOMPARE(main.status, QStringLiteral("The source folder cannot be read: ") + QDir::toNativeSeparators(kit.sourceFolder(QString())));
    QVERIFY(main.window.isEnabled());
    QVERIFY(!main.busy);
    core::setCurrentLanguage(core::Language::Japanese);
    QCOMPARE(openDialog(main, pressOK), 0);
    QCOMPARE(main.status, QString::fromUtf8("ソースフォルダを読み込めません: ") + QDir::toNativeSeparators(kit.sourceFolder(QString())));

    // Once the folder is there, the dialog opens and the stale text goes.
    QVERIFY(kit.makeSourceFolders({"a"}));
    QCOMPARE(openDialog(main, pressOK), 1);
    QCOMPARE(main.entries(), QStringList{"a"});
    QCOMPARE(main.status, QString());
}

void tst_DlgEditSrc::eachClickMakesAFreshDialog()
{
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a", "b"}));
    LibsMain main(kit.path());
    main.setEntries({"a"}, 0);
    openDialog(main, [](dlgEditSrc *d) {
        toggle(d, QStringLiteral("b"));
        toggle(d, QStringLiteral("a"));
        d->CancelButton->click();
    });
    QVERIFY(kit.makeSourceFolders({"c"}));
    openDialog(main, [](dlgEditSrc *d) {
        QCOMPARE(checkedEntries(d), QStringList{"a"});
        QCOMPARE(d->lstsrcpath->count(), 3);
        QCOMPARE(d->lstsrcpath->currentRow(), -1);
        d->CancelButton->click();
    });
}

void tst_DlgEditSrc::mainWindowTakesNoInputWhileScanning()
{
    LibsMain main(wideTree().path());
    main.setEntries({"t1", "gone"}, 0);
    main.window.show();

    int duringScan = 0;
    bool enabledDuringScan = true;
    bool busyDuringScan = false;
    int dialogsSeen = 0;
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto *d = qobject_cast<dlgEditSrc *>(QApplication::activeModalWidget());
        if (d) {
            ++dialogsSeen;
            d->reject();
            return;
        }
        ++duringScan;
        enabledDuringScan = enabledDuringScan && main.window.isEnabled();
        busyDuringScan = busyDuringScan || main.busy;
        // A click on "&Libs..." in the middle of the scan, or the handler
        // reached some other way, must start nothing.
        QTest::mouseClick(main.libs, Qt::LeftButton);
        ui::cmdEditSrcpath_Click(main);
    });
    probe.start();
    QTest::mouseClick(main.libs, Qt::LeftButton);
    probe.stop();
    QVERIFY2(duringScan > 0, "the scan never let events run");
    QVERIFY(!enabledDuringScan);
    QVERIFY(busyDuringScan);
    QCOMPARE(dialogsSeen, 1);
    QVERIFY(main.window.isEnabled());
    QVERIFY(!main.busy);
    QCOMPARE(main.entries(), (QStringList{"t1", "gone"}));
}

// A scan that runs longer than half a second (here held up by a handler
// that runs while it yields) shows how far it is, and its Cancel ends the
// scan: no dialog, the list and the status panel as they were.
void tst_DlgEditSrc::longScanShowsProgressAndCancels()
{
    LibsMain main(wideTree().path());
    main.setEntries({"t1", "gone"}, 1);
    main.status = QStringLiteral("earlier");
    main.window.show();

    bool heldUp = false;
    int dialogsSeen = 0;
    QString title, label, cancel;
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *d = qobject_cast<dlgEditSrc *>(modal)) {
            ++dialogsSeen;
            d->reject();
        } else if (auto *progress = qobject_cast<QProgressDialog *>(modal)) {
            if (!title.isEmpty())
                return;
            title = progress->windowTitle();
            label = progress->labelText();
            auto *button = progress->findChild<QPushButton *>();
            cancel = button ? button->text() : QString();
            if (button)
                QTest::mouseClick(button, Qt::LeftButton);
        } else if (!heldUp) {
            heldUp = true;
            QThread::msleep(ui::ScanProgress::kShowAfterMs + 100);
        }
    });
    probe.start();
    QTest::mouseClick(main.libs, Qt::LeftButton);
    probe.stop();
    QVERIFY(heldUp);
    QCOMPARE(title, QStringLiteral("Select libraries"));
    QVERIFY2(QRegularExpression(QStringLiteral("^Reading the source folders: [1-9][0-9]* read so far$")).match(label).hasMatch(),
             qPrintable(label));
    QCOMPARE(cancel, QStringLiteral("Cancel"));
    QCOMPARE(dialogsSeen, 0);
    QCOMPARE(main.entries(), (QStringList{"t1", "gone"}));
    QCOMPARE(main.selected(), 1);
    QCOMPARE(main.status, QStringLiteral("earlier"));
    QVERIFY(main.window.isEnabled());
    QVERIFY(!main.busy);
    QVERIFY(!main.window.findChild<QProgressDialog *>());
}

// A link the scan does not follow, back to a folder being listed or up to
// src and beyond, is not shown; the status panel names it, and OK keeps the
// entries at it and below it, with the selection, however much is ticked.
void tst_DlgEditSrc::linksNotFollowedKeepTheirEntries()
{
#ifdef Q_OS_WIN
    QSKIP("the links are made as POSIX symbolic links (Wine makes no links to directories)");
#else
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"fb"}));
    QVERIFY(QFile::link(QStringLiteral(".."), kit.sourceFolder("up")));
    QVERIFY(QFile::link(QStringLiteral(".."), kit.sourceFolder("fb\\loop")));
    LibsMain main(kit.path());
    const QStringList held{"fb\\loop", "fb\\loop\\test", "fb", "up\\src\\fb"};
    main.setEntries(held, 0);
    openDialog(main, [&](dlgEditSrc *d) {
        QCOMPARE(dialogEntries(d), QStringList{"fb"});
        QTest::mouseClick(d->cmdSelAll, Qt::LeftButton);
        pressOK(d);
    });
    QCOMPARE(main.entries(), held);
    QCOMPARE(main.selected(), 0);
    // The root's links are found before those below it.
    QCOMPARE(main.status, QStringLiteral("Links not followed, as they lead back up the tree: src/up, src/fb/loop; "
                                         "the entries at or below them stay in the list"));
#endif
}

// Folder names no entry can hold as it is: bytes that are no UTF-8 (two of
// them would both show as "caf\uFFFD") and a "\\" inside a name, which
// would read as two levels. Each is shown, not entered, and not added; the
// status panel says why.
void tst_DlgEditSrc::namesNoEntryCanHoldAreShownNotAdded()
{
#ifdef Q_OS_WIN
    QSKIP("Windows names are always text and never hold a backslash");
#else
    TestKit kit;
    QVERIFY(kit.makeSourceFolders({"a\\b\\inner", "plain"}));
    const QByteArray src = QFile::encodeName(kit.sourceFolder(QString()));
    for (const char *raw : {"/caf\xE8", "/caf\xE9", "/caf\xE9/below", "/a\\b"})
        QCOMPARE(::mkdir((src + raw).constData(), 0700), 0);
    LibsMain main(kit.path());
    main.setEntries({"plain"}, 0);
    const QString lookalike = QStringLiteral("caf") + QChar(0xFFFD);
    openDialog(main, [&](dlgEditSrc *d) {
        const QStringList shown = dialogEntries(d);
        QCOMPARE(shown.count(lookalike), 2);
        QCOMPARE(shown.count(QStringLiteral("a\\b")), 2);
        QCOMPARE(shown.count(QStringLiteral("a\\b\\inner")), 1);
        QCOMPARE(shown.size(), 7);
        QTest::mouseClick(d->cmdSelAll, Qt::LeftButton);
        pressOK(d);
    });
    QStringList entries = main.entries();
    entries.sort();
    QCOMPARE(entries, (QStringList{"a", "a\\b", "a\\b\\inner", "plain"}));
    QVERIFY2(main.status.endsWith(QStringLiteral(" not added: the workspace file cannot hold the name as it is (a \\ "
                                                 "inside a folder's name, bytes that are no text, or a leading U+FEFF)")),
             qPrintable(main.status));
    QCOMPARE(main.status.count(lookalike), 2);
#endif
}

QTEST_MAIN(tst_DlgEditSrc)
#include "tst_dlgeditsrc.moc"
