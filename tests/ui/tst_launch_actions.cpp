#include "core/StringTable.h"
#include "ui/LaunchActions.h"
#include "core/Workspace.h"
#include "ui/frmCompile.h"
#include "ui/frmMain.h"

#include "support/ModalWait.h"
#include "support/TestFiles.h"
#include "support/WindowTests.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <memory>

namespace {

const QString kDefaultCP = "..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;";
const QString kDefaultLibpath = "..\\lib;..\\fb.jar;..\\fbrt.jar;";

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

QString currentDir()
{
    return canonical(QDir::currentPath());
}

// A kit tree in a temporary folder: the program's folder "kit" with its
// source and library roots, and stand-in tools where the default settings
// find them (the compiler from the kit folder, the editor's runtime from
// its source root).
struct LaunchKit {
    QTemporaryDir root;
    QString app() const { return root.filePath("kit"); }
    QString at(const QString &relative) const { return root.filePath(relative); }
    QString compiler() const { return at("bin/jikes"); }
    QString editor() const { return at("kit/bin/jre"); }
    QString compileRecord() const { return compiler() + ".rec"; }
    QString editRecord() const { return editor() + ".rec"; }

    LaunchKit()
    {
        QDir d(root.path());
        d.mkpath("kit/src/hmi");
        d.mkpath("kit/src/mypkg/util");
        d.mkpath("kit/lib/fb/rt");
        d.mkpath("kit/bin");
        d.mkpath("bin");
        d.mkpath("elsewhere");
        QVERIFY(installStandIn(compiler()));
        QVERIFY(installStandIn(editor()));
    }

    void touch(const QString &relative) const
    {
        QFile f(at(relative));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    PlacementStoreFactory store() const
    {
        const QString file = root.filePath("placement.ini");
        return [file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
    }
};

// Waits for a tool's record; empty when it never came. A start under Wine
// on a loaded machine can take seconds, and a record just removed there may
// still be seen, though no longer read, for a moment.
QStringList waitForRecord(const QString &tool)
{
    QStringList record;
    for (int i = 0; i < 800 && (record = readStandInRecord(tool)).isEmpty(); ++i)
        QTest::qWait(25);
    return record;
}

// What the chooser looked like when it came up.
struct ChooserSeen {
    bool shown = false;
    QString objectName;
    QString status;
    QStringList filters;
    QString selectedFilter;
    QString directory;
    QString presetName;
    QString trouble;    // why the choice could not be made, if it could not
};

// A path by its real folder and its name, so that a file that does not exist
// yet compares too.
QString realPath(const QString &path)
{
    const QFileInfo info(path);
    return canonical(info.absolutePath()) + QLatin1Char('/') + info.fileName();
}

// Answers the next modal file dialog: records what it shows, then chooses
// `path` or, when that is empty, cancels.
void answerChooser(frmMain &w, ChooserSeen &seen, const QString &path)
{
    auto *timer = new QTimer(&w);
    timer->setInterval(20);
    const int outerLevel = QThread::currentThread()->loopLevel();
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, &w, [&w, &seen, path, timer, outerLevel, ticks] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        // Closing the dialog while it is still being shown, before its own
        // event loop runs, would leave that loop running for ever.
        if (!dialog || QThread::currentThread()->loopLevel() <= outerLevel)
            return;
        if (!seen.shown) {
            seen.shown = true;
            seen.objectName = dialog->objectName();
            seen.status = w.statusText();
            seen.filters = shownFilters(dialog);
            seen.selectedFilter = seen.filters.isEmpty() ? QString() : seen.filters.takeLast();
            seen.directory = canonical(dialog->directory().absolutePath());
            const QStringList files = dialog->selectedFiles();
            seen.presetName = files.isEmpty() ? QString() : QFileInfo(files.first()).fileName();
        }
        auto finish = [dialog, timer](bool accept) {
            timer->stop();
            timer->deleteLater();
            if (accept)
                QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            if (dialog->isVisible())
                dialog->reject();
        };
        if (path.isEmpty())
            return finish(false);
        // Typed as a user would: selectFile() leaves a focused name field
        // alone. The dialog fills its list in the background and may put the
        // preset name back meanwhile, so type again until the choice holds.
        // A file picked in the list would win over the typed one.
        for (auto *view : dialog->findChildren<QAbstractItemView *>())
            view->clearSelection();
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        const QString selected = dialog->selectedFiles().value(0);
        if (++*ticks >= 10 && realPath(selected) == realPath(path))
            return finish(true);
        if (*ticks >= 200) {
            seen.trouble = QStringLiteral("the dialog kept %1").arg(selected);
            finish(false);
        }
    });
    timer->start();
}

struct CurrentDirectoryGuard {
    QString saved = QDir::currentPath();
    ~CurrentDirectoryGuard() { QDir::setCurrent(saved); }
};

void fillList(frmMain &w, const QStringList &entries, int selected)
{
    w.setWorkspace(core::Workspace{entries, selected, w.workspace().EditFileName});
}

// The kit's main window, shown, its list filled.
std::unique_ptr<frmMain> shownMain(const LaunchKit &kit, const QStringList &entries, int selected)
{
    auto w = std::make_unique<frmMain>(kit.app(), kit.store());
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    fillList(*w, entries, selected);
    return w;
}

// The stand-in tools play this script (see stand_in_tool.cpp).
void playScript(const QTemporaryDir &root, const QString &name, const QStringList &lines)
{
    QFile f(root.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    qputenv("TAVO_STAND_IN_SCRIPT", QFile::encodeName(QDir::toNativeSeparators(f.fileName())));
}

// The compile window once its compile has ended and its output is read.
frmCompile *compileEnded(frmMain &w, int timeoutMs = 30000)
{
    auto *window = w.findChild<frmCompile *>(QStringLiteral("frmCompile"));
    if (!window || !QTest::qWaitFor([window] { return !window->isRunning(); }, timeoutMs))
        return nullptr;
    return window;
}

// What the window's list of errors and warnings holds: "file|line|text".
QStringList listedMessages(const frmCompile &window)
{
    QStringList rows;
    const QAbstractItemModel *model = window.lstMessages->model();
    for (int i = 0; i < model->rowCount(); ++i)
        rows << model->index(i, 0).data().toString() + u'|' + model->index(i, 1).data().toString() + u'|'
                    + model->index(i, 2).data().toString();
    return rows;
}

// Brings a window to the front as a click on it would, and waits until it
// takes the keys.
bool activate(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000);
}

// The listed message that is selected, by its row; -1 for none.
int selectedMessage(const frmCompile &window)
{
    const QModelIndexList rows = window.lstMessages->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

} // namespace

class TestLaunchActions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        core::setCurrentLanguage(core::Language::English);
        qunsetenv("TAVO_STAND_IN_SCRIPT");
        qunsetenv("TAVO_STAND_IN_STATUS");
    }
    void compile_data();
    void compile();
    void compileOutput_data();
    void compileOutput();
    void realCompilers_data();
    void realCompilers();
    void stateFollowsTheProcess();
    void compileAgainAndStepThroughErrors_data();
    void compileAgainAndStepThroughErrors();
    void stopAndCompileAgain();
    void chooseAnError();
    void editorThatEndsAtOnce_data();
    void editorThatEndsAtOnce();
    void compilerNotStarted_data();
    void compilerNotStarted();
    void openEditor();
    void openEditorCancelled();
    void openEditorWithoutSelection();
    void openEditorWithRealJava();
    void openEditorFailures_data();
    void openEditorFailures();
    void allFilterShowsEveryFile();

private:
    CurrentDirectoryGuard m_guard;
};

void TestLaunchActions::compile_data()
{
    QTest::addColumn<QString>("classDirectory");
    QTest::addColumn<QString>("startIn");       // current folder before the click, below the temp root
    QTest::addColumn<bool>("libPresent");
    QTest::addColumn<bool>("classesExist");
    QTest::addColumn<QString>("createdDir");    // below the kit folder, or empty
    QTest::addColumn<QString>("absentDir");     // must not exist afterwards, or empty

    QTest::newRow("no class directory") << "" << "elsewhere" << true << false << "" << "kit/classes";
    QTest::newRow("after Open Editor") << "" << "kit/src" << true << false << "" << "";
    QTest::newRow("class directory made") << "classes" << "elsewhere" << true << false << "classes" << "";
    QTest::newRow("class directory exists") << "classes" << "kit/src" << true << true << "classes" << "";
    QTest::newRow("only the last level") << "out\\classes" << "elsewhere" << true << false << "" << "kit/out";
    QTest::newRow("lib missing") << "" << "elsewhere" << false << false << "" << "";
    QTest::newRow("lib missing, class directory") << "classes" << "kit/src" << false << false << "classes" << "";
}

void TestLaunchActions::compile()
{
    QFETCH(QString, classDirectory);
    QFETCH(QString, startIn);
    QFETCH(bool, libPresent);
    QFETCH(bool, classesExist);
    QFETCH(QString, createdDir);
    QFETCH(QString, absentDir);

    LaunchKit kit;
    if (!libPresent)
        QVERIFY(QDir(kit.at("kit/lib")).removeRecursively());
    if (classesExist) {
        QVERIFY(QDir(kit.app()).mkdir("classes"));
        kit.touch("kit/classes/Old.class");
    }
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"net", "mypkg\\util", "hmi"}, 1);
    w.setSetting(core::kClassDirectory, classDirectory);
    QVERIFY(QDir::setCurrent(kit.at(startIn)));

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);

    QStringList expected{canonical(kit.app()), "-Xstdout", "-classpath", systemClassPath(kDefaultCP),
                         systemPathWord("..\\lib\\fb\\rt\\mypkg\\util\\*.java")};
    if (!classDirectory.isEmpty())
        expected << "-d" << systemPathWord(classDirectory);
    // The batch file's tail is no source file of the compiler's.
    QCOMPARE(waitForRecord(kit.compiler()), expected);
    // Its output in compile.log, written by itself, and in the window.
    frmCompile *window = compileEnded(w);
    QVERIFY(window);
    const QStringList log = readLines(kit.at("kit/compile.log"));
    QCOMPARE(log.value(1), QStringLiteral("arg -Xstdout"));
    QCOMPARE(log.last(), QStringLiteral("stand-in tool: status 0"));
    QCOMPARE(window->shownLines(), log);
    // The words as started; on Linux a shell's quotes show that nothing
    // matched the source pattern, which goes to the compiler as written.
    QStringList shown = expected.mid(1);
#ifndef Q_OS_WIN
    shown[3] = "'" + shown[3] + "'";
#endif
    QCOMPARE(window->txtCommandLine->text(), systemPathWord("..\\bin\\jikes ") + shown.join(u' '));
    const QString end = QStringLiteral("Compile: the compiler ended with status 0 (success); no errors or warnings");
    QCOMPARE(window->lblEnd->text(), end);
    QCOMPARE(w.statusText(), end);
    // The compiler's folder stays the current one.
    QCOMPARE(currentDir(), canonical(kit.app()));
    if (!createdDir.isEmpty())
        QVERIFY(QFileInfo(kit.at("kit/" + createdDir)).isDir());
    if (classesExist)
        QVERIFY(QFile::exists(kit.at("kit/classes/Old.class")));
    if (!absentDir.isEmpty())
        QVERIFY(!QFileInfo::exists(kit.at(absentDir)));
    QVERIFY(!QFileInfo::exists(kit.at("classes")));
}

void TestLaunchActions::compileOutput_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("shown");  // lines in the window, or -1 for all of compile.log
    QTest::addColumn<QString>("note");  // "%log": compile.log as the system names it

    const QStringList javac{"..\\lib\\fb\\rt\\hmi\\Lamp.java:6: error: cannot find symbol", "        return missing;",
                            "               ^", "  symbol: x",
                            "!..\\lib\\fb\\rt\\hmi\\Lamp.java:9: warning: [deprecation] old", "Lamp.java:12: error: y",
                            "2 errors"};
    const QStringList javacListed{"Lamp.java (..\\lib\\fb\\rt\\hmi)|6|error: cannot find symbol",
                                  "Lamp.java (..\\lib\\fb\\rt\\hmi)|9|warning: [deprecation] old", "Lamp.java|12|error: y"};
    const int en = int(core::Language::English);
    QTest::newRow("javac") << javac << 1 << en << "Compile: the compiler ended with status 1; 2 errors, 1 warning"
                           << javacListed << -1 << "";
    QTest::newRow("javac, Japanese")
        << javac << 1 << int(core::Language::Japanese)
        << QString::fromUtf8("コンパイル: コンパイラは 終了コード 1 で終了しました。エラー 2 件、警告 1 件") << javacListed << -1 << "";
    // What javac 17 says of its files and options names no file, and counts.
    QTest::newRow("javac without a place")
        << QStringList{"error: file not found: ../lib/fb/rt/empty/*.java", "Usage: javac <options> <source files>",
                       "warning: [options] bootstrap class path not set in conjunction with -source 8"}
        << 2 << en << "Compile: the compiler ended with status 2; 1 error, 1 warning"
        << QStringList{"||error: file not found: ../lib/fb/rt/empty/*.java",
                       "||warning: [options] bootstrap class path not set in conjunction with -source 8"}
        << -1 << "";
    QTest::newRow("ecj") << QStringList{"----------", "1. ERROR in /k/lib/fb/rt/hmi/Lamp.java (at line 5)",
                                        "\treturn missing;", "\t       ^^^^^^^", "missing cannot be resolved to a variable",
                                        "----------", "1 problem (1 error)"}
                         << 255 << en << "Compile: the compiler ended with status 255; 1 error"
                         << QStringList{"Lamp.java (/k/lib/fb/rt/hmi)|5|missing cannot be resolved to a variable"} << -1 << "";
    QTest::newRow("the kit compiler's forms")
        << QStringList{"Found 1 semantic error compiling \"Lamp.java\":", "     7.     x = y;", "            ^",
                       "*** Semantic Error: No field named \"y\"", "Lamp.java:3:1:3:5: Semantic Warning: unused"}
        << 0 << en << "Compile: the compiler ended with status 0 (success); 1 error, 1 warning"
        << QStringList{"Lamp.java|7|Semantic Error: No field named \"y\"", "Lamp.java|3|Semantic Warning: unused"} << -1 << "";
#ifdef Q_OS_WIN
    const QString crash = QStringLiteral("exception code 0xC0000005");
#else
    const QString crash = QStringLiteral("signal 11 (SIGSEGV)");
#endif
    QTest::newRow("crash") << QStringList{"before", "@crash"} << 0 << en
                           << "Compile: the compiler crashed with " + crash + "; no errors or warnings" << QStringList{}
                           << -1 << "";
    // The list keeps the messages of the lines the output keeps, so every
    // marked line opens; the rest are counted and said to be in the log.
    QStringList last;
    for (int i = 2002; i <= 12000; ++i)
        last << QStringLiteral("E.java|%1|error: number %1").arg(i);
    QTest::newRow("more messages than the window keeps")
        << QStringList{"A.java:1: error: first", "@errors 12000"} << 1 << en
        << "Compile: the compiler ended with status 1; 12001 errors" << last << frmCompile::kKeptLines
        << "Only the last 10000 lines are shown here; %log holds them all.\n"
           "Errors and warnings that went with the earlier lines: 2002.";
}

// The compiler's lines in the window as they are in compile.log, the errors
// and warnings among them listed (each marked line opens its message), and
// the end line with the counts.
void TestLaunchActions::compileOutput()
{
    QFETCH(QStringList, script);
    QFETCH(int, status);
    QFETCH(int, language);
    QFETCH(QString, end);
    QFETCH(QStringList, messages);
    QFETCH(int, shown);
    QFETCH(QString, note);
    core::setCurrentLanguage(core::Language(language));
    LaunchKit kit;
    playScript(kit.root, "script", script);
    qputenv("TAVO_STAND_IN_STATUS", QByteArray::number(status));
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    frmCompile *window = compileEnded(w);
    QVERIFY(window);
    QCOMPARE(window->lblEnd->text(), end);
    QCOMPARE(w.statusText(), end);
    QCOMPARE(listedMessages(*window), messages);
    const QStringList log = readLines(kit.at("kit/compile.log"));
    QCOMPARE(window->shownLines(), shown < 0 ? log : log.mid(log.size() - shown));
    // A caret line points at the column it marks in the line above, in the
    // output's font whatever the window's.
    const QStringList lines = window->shownLines();
    const QFontMetrics metrics(window->lstOutput->font());
    for (int row = 0; row < lines.size(); ++row) {
        const bool marked = window->lstOutput->model()->index(row, 0).data(Qt::ForegroundRole).isValid();
        QVERIFY2(!marked || window->messageOfLine(row), qPrintable(lines[row]));
        const int caret = int(lines[row].indexOf(u'^'));
        if (row > 0 && caret > 0 && lines[row].left(caret).trimmed().isEmpty())
            QCOMPARE(metrics.horizontalAdvance(lines[row].left(caret)), metrics.horizontalAdvance(lines[row - 1].left(caret)));
    }
    QCOMPARE(window->lblNote->text(), QString(note).replace("%log", QDir::toNativeSeparators(kit.at("kit/compile.log"))));
    QCOMPARE(window->lblNote->isVisible(), !note.isEmpty());
}

// A compile runs while anything the compiler started runs, and the window
// follows that to its end; Stop then ends what is left, and the end line
// still gives the compiler's own status. Stop once all has ended changes
// nothing.
void TestLaunchActions::stateFollowsTheProcess()
{
    LaunchKit kit;
    playScript(kit.root, "late", {"@sleep 1500", "late"});
    playScript(kit.root, "long", {"@sleep 30000", "never"});
    playScript(kit.root, "script", {"@spawn " + QDir::toNativeSeparators(kit.at("late")),
                                    "@spawn " + QDir::toNativeSeparators(kit.at("long"))});
    qputenv("TAVO_STAND_IN_STATUS", "3");
    const std::unique_ptr<frmMain> main = shownMain(kit, {"hmi"}, 0);
    QVERIFY(main);
    frmMain &w = *main;

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    auto *window = w.findChild<frmCompile *>(QStringLiteral("frmCompile"));
    QVERIFY(window);
    QTRY_COMPARE_WITH_TIMEOUT(window->lblNote->text(),
                              QStringLiteral("The compiler has ended with status 3; what it started still runs."), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(window->shownLines().contains("late"), 20000);
    QVERIFY(window->isRunning());
    QTest::mouseClick(window->cmdStop, Qt::LeftButton);
    QVERIFY(compileEnded(w, 10000));
    const QString end = QStringLiteral("Compile: the compiler ended with status 3; no errors or warnings");
    QCOMPARE(window->lblEnd->text(), end);
    QCOMPARE(window->lblNote->text(), QStringLiteral("What the compiler left running was ended."));
    QVERIFY(!readLines(kit.at("kit/compile.log")).contains("never"));

    // Stop pressed after the compiler's end, before the window has seen it:
    // no event runs until then.
    qunsetenv("TAVO_STAND_IN_SCRIPT");
    QTest::mouseClick(window->cmdCompile, Qt::LeftButton);
    QElapsedTimer waited;
    waited.start();
    while (!readLines(kit.at("kit/compile.log")).contains("stand-in tool: status 3") && waited.elapsed() < 20000)
        QThread::msleep(20);
    QThread::msleep(500);
    QVERIFY(window->isRunning());
    window->cmdStop->click();
    QVERIFY(compileEnded(w));
    QCOMPARE(window->lblEnd->text(), end);
    QVERIFY(!window->lblNote->isVisible());
}

// The Compile window serves the compile-fix loop: its title names the
// package, the first error is selected at the end, F8 and Shift+F8 (there
// and in the main window) step through the list and open nothing until
// Enter, and its Compile button (Alt+C) and F5 compile that package again,
// whatever the main window's list selects by then. Escape closes it, and
// the menu shows the last results again.
void TestLaunchActions::compileAgainAndStepThroughErrors_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::newRow("English") << int(core::Language::English) << "Compile - net\\tcp";
    QTest::newRow("Japanese") << int(core::Language::Japanese) << QString::fromUtf8("コンパイル - net\\tcp");
}

void TestLaunchActions::compileAgainAndStepThroughErrors()
{
    QFETCH(int, language);
    QFETCH(QString, title);
    core::setCurrentLanguage(core::Language(language));
    LaunchKit kit;
    QVERIFY(QDir(kit.app()).mkpath("src/net/tcp"));
    kit.touch("kit/src/net/tcp/Broken.fbt");
    const QString java = QStringLiteral("..\\lib\\fb\\rt\\net\\tcp\\Broken.java");
    playScript(kit.root, "script", {java + ":3: warning: w", java + ":5: error: first", java + ":9: error: second"});
    const std::unique_ptr<frmMain> main = shownMain(kit, {"hmi", "net\\tcp"}, 1);
    QVERIFY(main);
    frmMain &w = *main;
    emit w.mnuTools->aboutToShow();
    QVERIFY(!w.mnuToolsCompileResults->isEnabled());
    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    frmCompile *window = compileEnded(w);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->cmdCompile->text(), core::message(1027));
    QVERIFY(window->cmdCompile->text().contains(u'&') && window->cmdStop->text().contains(u'&')
            && window->cmdClose->text().contains(u'&'));
    QCOMPARE(selectedMessage(*window), 1);
    QCOMPARE(window->lstOutput->currentIndex().data().toString(), java + ":5: error: first");

    QVERIFY(activate(window));
    QList<int> steps;
    for (const auto modifiers : {Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier, Qt::ShiftModifier, Qt::ShiftModifier}) {
        QTest::keyClick(window, Qt::Key_F8, modifiers);
        steps << selectedMessage(*window);
    }
    QCOMPARE(steps, (QList<int>{2, 2, 1, 0, 0}));
    QVERIFY(activate(&w));
    QTest::keyClick(&w, Qt::Key_F8);
    QCOMPARE(selectedMessage(*window), 1);
    QTest::qWait(300);
    QVERIFY(!QFile::exists(kit.editRecord()));
    qunsetenv("TAVO_STAND_IN_SCRIPT");
    QVERIFY(activate(window));
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QCOMPARE(waitForRecord(kit.editor()).value(4), QStringLiteral("Broken"));

    fillList(w, {"hmi", "net\\tcp"}, 0);
    const QString sources = systemPathWord("..\\lib\\fb\\rt\\net\\tcp\\*.java");
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_C, Qt::AltModifier}, std::pair{Qt::Key_F5, Qt::NoModifier}}) {
        QVERIFY(QFile::remove(kit.compileRecord()));
        QVERIFY(activate(window));
        QTest::keyClick(window, key, modifiers);
        QCOMPARE(waitForRecord(kit.compiler()).value(4), sources);
        QVERIFY(compileEnded(w));
    }

    // Escape closes it; Tool > Last Compile Results shows it again as it
    // was, without compiling. Screen readers meet a window named by its title.
    const QStringList lines = window->shownLines();
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    QVERIFY(QFile::remove(kit.compileRecord()));
    emit w.mnuTools->aboutToShow();
    w.mnuToolsCompileResults->trigger();
    QVERIFY(window->isVisible());
    QCOMPARE(window->shownLines(), lines);
    QTest::qWait(300);
    QVERIFY(!QFile::exists(kit.compileRecord()));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(window);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Window);
    QCOMPARE(accessible->text(QAccessible::Name), title);
}

// The JDK's javac and ecj themselves, from the Compile button: the end
// line with the compiler's status and count, its own message in the
// window, the classes in ClassDirectory, no file named like an option.
void TestLaunchActions::realCompilers_data()
{
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("classesMade");

    QTest::newRow("javac, an error") << "javac" << "bad" << "Compile: the compiler ended with status 1; 1 error"
                                     << "Broken.java:4: error: cannot find symbol" << false;
    QTest::newRow("javac, mended") << "javac" << "good"
                                   << "Compile: the compiler ended with status 0 (success); no errors or warnings"
                                   << "" << true;
    QTest::newRow("ecj, an error") << "ecj" << "bad" << "Compile: the compiler ended with status 255; 1 error"
                                   << "missing cannot be resolved to a variable" << false;
    QTest::newRow("ecj, mended") << "ecj" << "good"
                                 << "Compile: the compiler ended with status 0 (success); no errors or warnings"
                                 << "" << true;
}

void TestLaunchActions::realCompilers()
{
#ifdef Q_OS_WIN
    QSKIP("no JDK under Wine");
#else
    QFETCH(QString, compiler);
    QFETCH(QString, package);
    QFETCH(QString, end);
    QFETCH(QString, said);
    QFETCH(bool, classesMade);
    const QString program = realTool(compiler);
    QVERIFY2(!program.isEmpty(), "scripts/test installs default-jdk-headless and ecj");
    LaunchKit kit;
    QVERIFY(writeJavaPackages(kit.at("lib/fb/rt")));
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {package}, 0);
    w.setSetting(core::kCompiler, program);
    w.setSetting(core::kCP, ".;");
    w.setSetting(core::kClassDirectory, "classes");

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    frmCompile *window = compileEnded(w, 60000);
    QVERIFY(window);
    QCOMPARE(window->lblEnd->text(), end);
    QVERIFY(window->shownLines().join(u'\n').contains(said));
    QCOMPARE(QFile::exists(kit.at("kit/classes/fb/rt/good/Good.class")), classesMade);
    QCOMPARE(QFile::exists(kit.at("kit/classes/fb/rt/good/Other.class")), classesMade);
    QCOMPARE(filesNamedLikeOptions(kit.root.path()), QStringList());
#endif
}

// Stop ends the compiler and what it started; while it runs a second
// Compile starts nothing, and afterwards one starts afresh.
void TestLaunchActions::stopAndCompileAgain()
{
    LaunchKit kit;
    playScript(kit.root, "late", {"@sleep 1000", "late"});
    playScript(kit.root, "script", {"first", "@spawn " + QDir::toNativeSeparators(kit.at("late")), "@sleep 30000", "never"});
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    auto *window = w.findChild<frmCompile *>(QStringLiteral("frmCompile"));
    QVERIFY(window);
    QTRY_VERIFY_WITH_TIMEOUT(window->shownLines().contains("first"), 20000);
    QVERIFY(window->isVisible());
    QCOMPARE(w.statusText(), QStringLiteral("The compiler is running..."));

    window->hide();
    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    QVERIFY(window->isRunning());
    QVERIFY(window->isVisible());
    QCOMPARE(window->lblNote->text(), QStringLiteral("A compile is running: Stop ends it before the next one."));
    QCOMPARE(w.findChildren<frmCompile *>().size(), 1);

    QElapsedTimer stopped;
    stopped.start();
    QTest::mouseClick(window->cmdStop, Qt::LeftButton);
    QVERIFY(compileEnded(w, 5000));
    QVERIFY(stopped.elapsed() < 5000);
    const QString end = QStringLiteral("Compile: stopped, the compiler was ended; no errors or warnings");
    QCOMPARE(window->lblEnd->text(), end);
    QCOMPARE(w.statusText(), end);
    QVERIFY(!window->cmdStop->isEnabled());
    QVERIFY(!window->lblNote->isVisible());
    QTest::qWait(1500);
    QVERIFY(!readLines(kit.at("kit/compile.log")).contains("late"));

    qunsetenv("TAVO_STAND_IN_SCRIPT");
    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    QVERIFY(compileEnded(w));
    QVERIFY(!window->shownLines().contains("first"));
    QCOMPARE(window->shownLines().last(), QStringLiteral("stand-in tool: status 0"));
    QVERIFY(!window->lblNote->isVisible());
}

// An error opens the editor on the function block its Java file was made
// from, that package first; one without a function block says so, and
// offers its Java file, named, to open where the system opens .java files
// when that file is there; one that names no file says so.
void TestLaunchActions::chooseAnError()
{
    LaunchKit kit;
    QVERIFY(QDir(kit.app()).mkpath("src/net/tcp"));
    kit.touch("kit/src/net/tcp/Broken.fbt");
    QVERIFY(QDir(kit.root.path()).mkpath("lib/fb/rt/mypkg/util"));
    kit.touch("lib/fb/rt/mypkg/util/Text.java");
    const QString javaFile = QDir::toNativeSeparators(kit.at("lib/fb/rt/mypkg/util/Text.java"));
    const QString opener = kit.at("opener/xdg-open");
    QVERIFY(QDir(kit.root.path()).mkpath("opener"));
    QVERIFY(installStandIn(opener));
#ifdef Q_OS_WIN
    // What Explorer opens .java files with (Wine reads it from the merged
    // classes only).
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
    classes.setValue(".java/.", "TavoTestJava");
    classes.setValue("TavoTestJava/shell/open/command/.", "\"" + QDir::toNativeSeparators(standInFile(opener)) + "\" \"%1\"");
    classes.sync();
    const auto restore = qScopeGuard([&classes] {
        classes.remove(".java");
        classes.remove("TavoTestJava");
    });
#else
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(kit.at("opener")) + ':' + path);
    const auto restore = qScopeGuard([path] { qputenv("PATH", path); });
#endif
    playScript(kit.root, "script",
               {"..\\lib\\fb\\rt\\net\\tcp\\Broken.java:6: error: cannot find symbol", "..\\lib\\fb\\rt\\hmi\\Gone.java:1: error: x",
                "error: invalid flag: -Xfoo", "..\\lib\\fb\\rt\\mypkg\\util\\Text.java:3: error: x"});
    const std::unique_ptr<frmMain> main = shownMain(kit, {"hmi", "mypkg"}, 0);
    QVERIFY(main);
    frmMain &w = *main;
    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);
    frmCompile *window = compileEnded(w);
    QVERIFY(window);
    QCOMPARE(window->lstMessages->model()->rowCount(), 4);

    qunsetenv("TAVO_STAND_IN_SCRIPT");
    QTreeView *list = window->lstMessages;
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(waitForRecord(kit.editor()),
             QStringList({canonical(kit.at("kit/src")), "-cp", systemClassPath(kDefaultLibpath), "Editor", "Broken", "net\\tcp;hmi;mypkg;"}));
    QCOMPARE(w.workspace().EditFileName, QStringLiteral("Broken.fbt"));
    QCOMPARE(w.workspace().entries, (QStringList{"hmi", "mypkg"}));

    QVERIFY(QFile::remove(kit.editRecord()));
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(window->lblNote->text(), "No function block " + systemPathWord("src\\hmi\\Gone.fbt") + " is there.");
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(window->lblNote->text(), QStringLiteral("This message names no file, so there is nothing to open."));

    QString asked;
    whenModalShows<QMessageBox>([&asked](QMessageBox *box) {
        asked = box->text();
        box->button(QMessageBox::Yes)->click();
    });
    list->setCurrentIndex(list->model()->index(3, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(asked, "No function block " + systemPathWord("src\\mypkg\\util\\Text.fbt")
                        + " is there.\n\nOpen the Java file " + javaFile + " where the system opens .java files?");
    QCOMPARE(waitForRecord(opener).value(1), javaFile);
    QVERIFY(!window->lblNote->isVisible());
    QVERIFY(!QFile::exists(kit.editRecord()));
}

void TestLaunchActions::editorThatEndsAtOnce_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::newRow("at once, status 1") << QStringList{} << 1
                                       << "Open Editor: the editor ended at once with status 1; Tool > Check Kit... says why";
    QTest::newRow("at once, status 0") << QStringList{} << 0 << "";
    QTest::newRow("after five seconds") << QStringList{"@sleep 5500"} << 1 << "";
}

void TestLaunchActions::editorThatEndsAtOnce()
{
    QFETCH(QStringList, script);
    QFETCH(int, status);
    QFETCH(QString, said);
    LaunchKit kit;
    kit.touch("kit/src/hmi/A.fbt");
    playScript(kit.root, "script", script);
    qputenv("TAVO_STAND_IN_STATUS", QByteArray::number(status));
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);

    ChooserSeen seen;
    answerChooser(w, seen, kit.at("kit/src/hmi/A.fbt"));
    QElapsedTimer returned;
    returned.start();
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
    QVERIFY(returned.elapsed() < 3000);
    QVERIFY(!waitForRecord(kit.editor()).isEmpty());
    if (said.isEmpty()) {
        QTest::qWait(script.isEmpty() ? 1000 : 6500);
        QCOMPARE(w.statusText(), QString());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(w.statusText(), said, 5000);
    }
}

void TestLaunchActions::compilerNotStarted_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("status");
    QTest::newRow("English") << int(core::Language::English)
                             << QStringLiteral("Compile: the compiler could not be started; Tool > Check Kit... says why");
    QTest::newRow("Japanese") << int(core::Language::Japanese)
                              << QString::fromUtf8("コンパイル: コンパイラを起動できませんでした。ﾂｰﾙ > キットの確認 で原因を確認できます");
}

void TestLaunchActions::compilerNotStarted()
{
    QFETCH(int, language);
    QFETCH(QString, status);
    core::setCurrentLanguage(core::Language(language));
    LaunchKit kit;
    QVERIFY(QFile::remove(standInFile(kit.compiler())));
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);
    w.setSetting(core::kClassDirectory, "classes");
    w.setStatusText("before");
    QVERIFY(QDir::setCurrent(kit.at("elsewhere")));
    QFile log(kit.at("kit/compile.log"));
    QVERIFY(log.open(QIODevice::WriteOnly) && log.write("the last output\n") > 0);
    log.close();

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);

    // Said in the status panel; every step before the start was still taken,
    // and the last output is still there.
    QCOMPARE(w.statusText(), status);
    QCOMPARE(readLines(kit.at("kit/compile.log")), QStringList{"the last output"});
    QVERIFY(QFileInfo(kit.at("kit/classes")).isDir());
    QCOMPARE(currentDir(), canonical(kit.app()));
    QCOMPARE(w.workspace().entries, QStringList{"hmi"});
    QVERIFY(!QApplication::activeModalWidget());
}

void TestLaunchActions::openEditor()
{
    LaunchKit kit;
    kit.touch("kit/src/mypkg/util/MyFB.fbt");
    kit.touch("kit/src/mypkg/util/Plant.res");
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"net", "mypkg\\util", "hmi"}, 1);
    w.setSetting(core::kDtPackages, "mydata");
    setEditFileName(w, "MyFB.fbt");
    QVERIFY(QDir::setCurrent(kit.at("elsewhere")));

    ChooserSeen seen;
    answerChooser(w, seen, kit.at("kit/src/mypkg/util/Plant.res"));
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);

    QVERIFY(seen.shown);
    QCOMPARE(seen.trouble, QString());
    QCOMPARE(seen.objectName, QStringLiteral("dlgEditFileSelect"));
    QCOMPARE(seen.status, QStringLiteral("Select a File"));
    QCOMPARE(seen.filters,
             QStringList({"system (*.sys)", "device (*.dev)", "resource (*.res)", "FB (*.fbt)", "all(*.*)"}));
    QCOMPARE(seen.selectedFilter, QStringLiteral("selected: FB (*.fbt)"));
    QCOMPARE(seen.directory, canonical(kit.at("kit/src/mypkg/util")));
    QCOMPARE(seen.presetName, QStringLiteral("MyFB.fbt"));

    QCOMPARE(w.workspace().EditFileName, QStringLiteral("Plant.res"));
    QCOMPARE(waitForRecord(kit.editor()),
             QStringList({canonical(kit.at("kit/src")), "-cp", systemClassPath(kDefaultLibpath), "Editor", "Plant",
                          "mypkg\\util;net;hmi;", "mydata"}));
    QCOMPARE(currentDir(), canonical(kit.at("kit/src")));
    QCOMPARE(w.statusText(), QString());

    // The stored name presets the next chooser and its filter.
    ChooserSeen again;
    answerChooser(w, again, QString());
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
    QVERIFY(again.shown);
    QCOMPARE(again.selectedFilter, QStringLiteral("selected: resource (*.res)"));
    QCOMPARE(again.presetName, QStringLiteral("Plant.res"));

    // A name that does not exist yet is taken: the editor creates the file.
    QVERIFY(QFile::remove(kit.editRecord()));
    ChooserSeen fresh;
    answerChooser(w, fresh, kit.at("kit/src/mypkg/util/NewFB.fbt"));
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
    QCOMPARE(fresh.trouble, QString());
    QCOMPARE(w.workspace().EditFileName, QStringLiteral("NewFB.fbt"));
    QCOMPARE(waitForRecord(kit.editor()).value(4), QStringLiteral("NewFB"));
}

void TestLaunchActions::openEditorCancelled()
{
    LaunchKit kit;
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);
    setEditFileName(w, "MyFB.fbt");
    QVERIFY(QDir::setCurrent(kit.at("elsewhere")));

    ChooserSeen seen;
    answerChooser(w, seen, QString());
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);

    QVERIFY(seen.shown);
    QCOMPARE(seen.trouble, QString());
    QCOMPARE(seen.status, QStringLiteral("Select a File"));
    QCOMPARE(w.workspace().EditFileName, QStringLiteral("MyFB.fbt"));
    QCOMPARE(w.statusText(), QString());
    QCOMPARE(currentDir(), canonical(kit.at("elsewhere")));
    QTest::qWait(300);
    QVERIFY(!QFile::exists(kit.editRecord()));
}

void TestLaunchActions::openEditorWithoutSelection()
{
    LaunchKit kit;
    kit.touch("kit/src/Top.sys");
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"net", "a\\b"}, -1);
    setEditFileName(w, "Plant.RES");

    ChooserSeen seen;
    answerChooser(w, seen, kit.at("kit/src/Top.sys"));
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);

    QVERIFY(seen.shown);
    QCOMPARE(seen.trouble, QString());
    QCOMPARE(seen.selectedFilter, QStringLiteral("selected: system (*.sys)"));
    QCOMPARE(seen.directory, canonical(kit.at("kit/src")));
    // dt-packages is empty by default: the line ends in a blank, no word.
    QCOMPARE(waitForRecord(kit.editor()),
             QStringList({canonical(kit.at("kit/src")), "-cp", systemClassPath(kDefaultLibpath), "Editor", "Top", ";net;a.b;"}));
    QCOMPARE(w.workspace().EditFileName, QStringLiteral("Top.sys"));
}

// The real java on an editor class of the test's own in lib, which writes
// down its folder and its arguments: the class path and the package word
// reach it as it needs them.
void TestLaunchActions::openEditorWithRealJava()
{
#ifdef Q_OS_WIN
    QSKIP("no JDK under Wine");
#else
    const QString java = realTool("java");
    const QString javac = realTool("javac");
    QVERIFY2(!java.isEmpty() && !javac.isEmpty(), "scripts/test installs default-jdk-headless");
    LaunchKit kit;
    kit.touch("kit/src/mypkg/util/Plant.res");
    QFile source(kit.at("Editor.java"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("import java.nio.file.*;\nimport java.util.*;\n\npublic class Editor {\n"
                 "    public static void main(String[] args) throws Exception {\n"
                 "        List<String> lines = new ArrayList<>();\n"
                 "        lines.add(System.getProperty(\"user.dir\"));\n"
                 "        lines.addAll(Arrays.asList(args));\n"
                 "        Files.write(Paths.get(\"editor.tmp\"), lines);\n"
                 "        Files.move(Paths.get(\"editor.tmp\"), Paths.get(\"editor.rec\"), StandardCopyOption.ATOMIC_MOVE);\n"
                 "    }\n}\n");
    source.close();
    QProcess compile;
    compile.setWorkingDirectory(kit.root.path());
    compile.start(javac, {"-d", kit.at("kit/lib"), source.fileName()});
    QVERIFY(compile.waitForFinished(60000) && compile.exitCode() == 0);
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"net", "mypkg\\util", "hmi"}, 1);
    w.setSetting(core::kJREpath, java);
    w.setSetting(core::kDtPackages, "mydata");

    ChooserSeen seen;
    answerChooser(w, seen, kit.at("kit/src/mypkg/util/Plant.res"));
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
    QVERIFY(seen.shown);
    QTRY_COMPARE_WITH_TIMEOUT(readLines(kit.at("kit/src/editor.rec")),
                              QStringList({canonical(kit.at("kit/src")), "Plant", "mypkg\\util;net;hmi;", "mydata"}),
                              30000);
    // It keeps running past its first moments only when it started well.
    QCOMPARE(w.statusText(), QString());
#endif
}

void TestLaunchActions::openEditorFailures_data()
{
    QTest::addColumn<QString>("chosen");      // below the temp root
    QTest::addColumn<QString>("removed");     // below the temp root, or empty
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("status");

    const int english = int(core::Language::English);
    const int japanese = int(core::Language::Japanese);
    QTest::newRow("name without a dot") << "kit/src/hmi/README" << "" << english
                                        << "Open Editor: the file name has no extension";
    QTest::newRow("source root missing") << "elsewhere/A.fbt" << "kit/src" << english
                                         << "Open Editor: cannot enter the source folder";
    QTest::newRow("editor not startable") << "kit/src/hmi/A.fbt" << "kit/bin" << english
                                          << "Open Editor: the editor could not be started; Tool > Check Kit... says why";
    QTest::newRow("editor not startable, Japanese") << "kit/src/hmi/A.fbt" << "kit/bin" << japanese
                                                    << QString::fromUtf8("Editorを開く: エディタを起動できませんでした。ﾂｰﾙ > キットの確認 で原因を確認できます");
}

void TestLaunchActions::openEditorFailures()
{
    QFETCH(QString, chosen);
    QFETCH(QString, removed);
    QFETCH(int, language);
    QFETCH(QString, status);
    core::setCurrentLanguage(core::Language(language));

    LaunchKit kit;
    kit.touch(chosen);
    if (!removed.isEmpty())
        QVERIFY(QDir(kit.at(removed)).removeRecursively());
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);

    ChooserSeen seen;
    answerChooser(w, seen, kit.at(chosen));
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);

    QVERIFY(seen.shown);
    QCOMPARE(seen.trouble, QString());
    QCOMPARE(w.statusText(), status);
    QCOMPARE(w.workspace().EditFileName, QFileInfo(chosen).fileName());
    QTest::qWait(300);
    QVERIFY(!QFile::exists(kit.editRecord()));

    // The window is still usable: the next press brings the chooser again.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(w.isEnabled());
    ChooserSeen again;
    answerChooser(w, again, QString());
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
    QVERIFY(again.shown);
    QCOMPARE(w.statusText(), QString());
}

void TestLaunchActions::allFilterShowsEveryFile()
{
    LaunchKit kit;
    kit.touch("kit/src/hmi/README");
    kit.touch("kit/src/hmi/A.fbt");
    frmMain w(kit.app(), kit.store());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    fillList(w, {"hmi"}, 0);

    // The last filter chosen, then what the dialog's list shows once it has
    // read the folder.
    QStringList listed;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (ticks++ == 0)
            dialog->selectNameFilter(dialog->nameFilters().last());
        auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
        listed.clear();
        for (int row = 0; view && row < view->model()->rowCount(view->rootIndex()); ++row)
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        if (listed.size() >= 2 || ticks > 200) {
            timer.stop();
            dialog->reject();
        }
    });
    timer.start();
    QTest::mouseClick(w.cmdEdit, Qt::LeftButton);
    listed.sort();
    QCOMPARE(listed, (QStringList{"A.fbt", "README"}));
}

QTEST_MAIN(TestLaunchActions)
#include "tst_launch_actions.moc"
