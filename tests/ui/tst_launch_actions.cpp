#include "core/StringTable.h"
#include "ui/LaunchActions.h"
#include "core/Workspace.h"
#include "ui/frmMain.h"

#include "support/TestFiles.h"
#include "support/WindowTests.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>

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

} // namespace

class TestLaunchActions : public QObject
{
    Q_OBJECT

private slots:
    void init() { core::setCurrentLanguage(core::Language::English); }
    void compile_data();
    void compile();
    void compilerNotStarted_data();
    void compilerNotStarted();
    void openEditor();
    void openEditorCancelled();
    void openEditorWithoutSelection();
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

    QStringList expected{canonical(kit.app()), "-Xstdout", "-classpath", kDefaultCP,
                         "..\\lib\\fb\\rt\\mypkg\\util\\*.java"};
    if (!classDirectory.isEmpty())
        expected << "-d" << classDirectory;
    expected << "%1" << ">" << ".\\compile.log";
    QCOMPARE(waitForRecord(kit.compiler()), expected);
    // The compiler's folder stays the current one.
    QCOMPARE(currentDir(), canonical(kit.app()));
    if (!createdDir.isEmpty())
        QVERIFY(QFileInfo(kit.at("kit/" + createdDir)).isDir());
    if (classesExist)
        QVERIFY(QFile::exists(kit.at("kit/classes/Old.class")));
    if (!absentDir.isEmpty())
        QVERIFY(!QFileInfo::exists(kit.at(absentDir)));
    QVERIFY(!QFileInfo::exists(kit.at("classes")));
    QCOMPARE(w.statusText(), QString());
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

    QTest::mouseClick(w.cmdCompile, Qt::LeftButton);

    // Said in the status panel; every step before the start was still taken.
    QCOMPARE(w.statusText(), status);
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
             QStringList({canonical(kit.at("kit/src")), "-cp", kDefaultLibpath, "Editor", "Plant",
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
             QStringList({canonical(kit.at("kit/src")), "-cp", kDefaultLibpath, "Editor", "Top", ";net;a.b;"}));
    QCOMPARE(w.workspace().EditFileName, QStringLiteral("Top.sys"));
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
