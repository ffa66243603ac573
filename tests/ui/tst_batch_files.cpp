#include "core/StringTable.h"
#include "platform/CommandLine.h"
#include "ui/ListRows.h"
#include "ui/OptionsWindow.h"
#include "ui/frmMain.h"
#include "ui/frmOptions.h"

#include "support/TestFiles.h"
#include "support/WindowTests.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QSettings>
#include <QTabWidget>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The main window with a record of what the batch entries told it.
class RecordingMain : public frmMain
{
public:
    using frmMain::frmMain;
    void setStatusText(const QString &text) override
    {
        statuses << text;
        frmMain::setStatusText(text);
    }
    void setBusy(bool busy) override
    {
        busyCalls << busy;
        frmMain::setBusy(busy);
    }
    void showOptionsModeless(int tab) override
    {
        tabs << tab;
        frmMain::showOptionsModeless(tab);
    }
    void forget()
    {
        statuses.clear();
        busyCalls.clear();
        tabs.clear();
    }
    QStringList statuses;
    QList<bool> busyCalls;
    QList<int> tabs;
};

// One expected file dialog: its object name, the file to choose (empty:
// cancel), what to look at while it is open, and what to do right after
// accepting it.
struct DialogStep {
    QString objectName;
    QString choose;
    std::function<void(QFileDialog *)> inspect = {};
    std::function<void()> afterAccept = {};
};

// Answers the modal file dialogs as they come up, in order.
class DialogScript : public QObject
{
public:
    explicit DialogScript(QList<DialogStep> steps) : m_steps(std::move(steps))
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogScript::poll);
        m_timer.start(10);
    }
    int remaining() const { return int(m_steps.size()); }
    QStringList problems;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            m_seen = nullptr;
            return;
        }
        if (dialog == m_last) {
            // Answered but still open: report it rather than hang.
            if (++m_stuck > 100) {
                problems << QStringLiteral("dialog did not close: ") + dialog->objectName();
                dialog->reject();
            }
            return;
        }
        // Answer only once the dialog's own event loop is running.
        if (dialog != m_seen) {
            m_seen = dialog;
            return;
        }
        m_last = dialog;
        m_stuck = 0;
        if (m_steps.isEmpty()) {
            problems << QStringLiteral("unexpected dialog ") + dialog->objectName();
            dialog->reject();
            return;
        }
        const DialogStep step = m_steps.takeFirst();
        if (dialog->objectName() != step.objectName) {
            problems << QStringLiteral("expected %1, got %2").arg(step.objectName, dialog->objectName());
            dialog->reject();
            return;
        }
        if (step.inspect)
            step.inspect(dialog);
        if (step.choose.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(step.choose);
        // selectFile() leaves a name field that has the focus alone, as the
        // save dialog's has: type the name as a user would.
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(QFileInfo(step.choose).fileName());
        // Through QDialog, where accept() is public; the file dialog's own runs.
        static_cast<QDialog *>(dialog)->accept();
        if (step.afterAccept)
            step.afterAccept();
    }

    QList<DialogStep> m_steps;
    QTimer m_timer;
    QPointer<QFileDialog> m_last;
    QPointer<QFileDialog> m_seen;
    int m_stuck = 0;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every file below a folder with its content, to see that nothing was written.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readAll(path));
    }
    return files;
}

const QByteArray kEditorBat = "REM IEC 61499 Editor\r\ncd src\r\n"
                              "..\\bin\\jre -cp ..\\lib;..\\fb.jar;..\\fbrt.jar; Editor MyFB hmi;net;mypkg.util; mydata\r\n";
const QByteArray kCompilerBat = "del compile.log\r\n"
                                "..\\bin\\jikes -Xstdout -classpath ..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;"
                                "..\\fbrt.jar;..\\fb.jar; ..\\lib\\fb\\rt\\mypkg\\*.java %1 > .\\compile.log\r\n";
const QString kExampleCP = QStringLiteral("..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;");

} // namespace

class TestBatchFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void editorExportOfTheExample();
    void compilerExportReplacesAnExistingFile();
    void cancelledExportWritesNothing();
    void editorExportAsksForTheFileToEdit();
    void editorExportWithoutChosenEditFileWritesNothing();
    void failedEditorExportLeavesTheFileAsItWas();
    void exportedCompilerBatRunsAsBuilt();

    void compilerImportRoundTrip();
    void editorImportRoundTrip();
    void cancelledImportChangesNothing();
    void importsWithoutMarker();
    void importsOfShortLinesKeepWhatWasCopied();
    void importsOfHostileFiles();
    void unreadableFileFailsTheImport();
    void compileWithImportedValuesWhileOptionsAreOpen();

private:
    RecordingMain &main() { return *m_main; }
    QString kit(const QString &relative) const { return m_kit->path() + QLatin1Char('/') + relative; }
    // Runs a menu entry with the dialogs answered; fails the test when a
    // dialog did not come up as expected.
    void run(QAction *entry, QList<DialogStep> steps);
    void setExampleList(int selected);

    std::unique_ptr<QTemporaryDir> m_kit;
    std::unique_ptr<QTemporaryDir> m_store;
    std::unique_ptr<RecordingMain> m_main;
};

void TestBatchFiles::init()
{
    m_kit = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<QTemporaryDir>();
    QVERIFY(m_kit->isValid() && m_store->isValid());
    QDir root(m_kit->path());
    for (const char *dir : {"src/hmi", "src/net", "src/mypkg/util", "lib"})
        QVERIFY(root.mkpath(QLatin1String(dir)));
    const QString ini = m_store->filePath(QStringLiteral("placement.ini"));
    m_main = std::make_unique<RecordingMain>(
        QDir::toNativeSeparators(m_kit->path()),
        [ini] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); });
    main().setSetting(core::kDtPackages, QStringLiteral("mydata"));
    setExampleList(2);
    setEditFileName(main(), QStringLiteral("MyFB.fbt"));
    main().forget();
}

void TestBatchFiles::cleanup()
{
    m_main.reset();
    m_kit.reset();
    m_store.reset();
}

void TestBatchFiles::setExampleList(int selected)
{
    QListWidget *list = main().lstsrcpath;
    list->clear();
    list->addItems({QStringLiteral("net"), QStringLiteral("mypkg\\util"), QStringLiteral("hmi")});
    ui::selectRow(list, selected);
}

void TestBatchFiles::run(QAction *entry, QList<DialogStep> steps)
{
    DialogScript script(std::move(steps));
    entry->trigger();
    QVERIFY2(script.problems.isEmpty(), qPrintable(script.problems.join(QLatin1String("; "))));
    QCOMPARE(script.remaining(), 0);
}

void TestBatchFiles::editorExportOfTheExample()
{
    const QString target = kit(QStringLiteral("Editor.bat"));
    QStringList seen;
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), target, [&](QFileDialog *d) {
                                  seen << shownFilters(d).join(QLatin1Char('|'))
                                       << QDir(d->directory()).canonicalPath()
                                       << QString::number(d->acceptMode() == QFileDialog::AcceptSave)
                                       << main().statusText();
                              }}});
    QCOMPARE(seen, (QStringList{QStringLiteral("all (*.*)|*.bat|selected: *.bat"),
                                QDir(m_kit->path()).canonicalPath(), QStringLiteral("1"),
                                QStringLiteral("Save Editor.bat")}));
    QCOMPARE(readAll(target), kEditorBat);
    QCOMPARE(main().statuses, (QStringList{"Save Editor.bat", "", "Saving...", ""}));
    QCOMPARE(main().busyCalls, (QList<bool>{true, false}));
    QCOMPARE(main().cursor().shape(), Qt::ArrowCursor);
    // An export touches neither the settings nor the list.
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"net", "mypkg\\util", "hmi"}));
    QCOMPARE(main().workspace().EditFileName, QStringLiteral("MyFB.fbt"));
}

void TestBatchFiles::compilerExportReplacesAnExistingFile()
{
    setExampleList(-1);
    main().lstsrcpath->addItem(QStringLiteral("mypkg"));
    ui::selectRow(main().lstsrcpath, 3);
    const QString target = kit(QStringLiteral("Compiler.bat"));
    writeFile(target, QByteArray(5000, 'x') + "\r\nold content\r\n");

    QString status;
    run(main().mnuSaveCompile, {{QStringLiteral("dlgCommonDialog"), target,
                                 [&](QFileDialog *) { status = main().statusText(); }}});
    QCOMPARE(status, QStringLiteral("Save Compiler.bat"));
    QCOMPARE(readAll(target), kCompilerBat);
    QCOMPARE(main().statuses, (QStringList{"Save Compiler.bat", "", "Saving...", ""}));

    main().setSetting(core::kClassDirectory, QStringLiteral("classes"));
    run(main().mnuSaveCompile, {{QStringLiteral("dlgCommonDialog"), target}});
    QVERIFY(readAll(target).endsWith("\\mypkg\\*.java -d classes %1 > .\\compile.log\r\n"));
    // Nothing left behind beside the file.
    QCOMPARE(QDir(m_kit->path()).entryList(QDir::Files), QStringList{"Compiler.bat"});
}

void TestBatchFiles::cancelledExportWritesNothing()
{
    const auto before = snapshot(m_kit->path());
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), QString()}});
    run(main().mnuSaveCompile, {{QStringLiteral("dlgCommonDialog"), QString()}});
    QCOMPARE(snapshot(m_kit->path()), before);
    QCOMPARE(main().statuses, (QStringList{"Save Editor.bat", "", "Save Compiler.bat", ""}));
    QVERIFY(main().busyCalls.isEmpty());
    QCOMPARE(main().statusText(), QString());
}

void TestBatchFiles::editorExportAsksForTheFileToEdit()
{
    setEditFileName(main(), QString());
    const QString target = kit(QStringLiteral("Editor.bat"));
    const QString fbt = kit(QStringLiteral("src/hmi/MyFB.fbt"));
    writeFile(fbt, "<FBType/>");
    QString chooserDirectory;
    QString chooserStatus;
    run(main().mnuSaveEdit,
        {{QStringLiteral("dlgCommonDialog"), target},
         {QStringLiteral("dlgEditFileSelect"), fbt, [&](QFileDialog *d) {
              chooserDirectory = QDir(d->directory()).canonicalPath();
              chooserStatus = main().statusText();
          }}});
    // The chooser starts in the selected package.
    QCOMPARE(chooserDirectory, QDir(kit(QStringLiteral("src/hmi"))).canonicalPath());
    QCOMPARE(chooserStatus, QStringLiteral("Select a File"));
    QCOMPARE(main().workspace().EditFileName, QStringLiteral("MyFB.fbt"));
    QCOMPARE(readAll(target), kEditorBat);
}

void TestBatchFiles::editorExportWithoutChosenEditFileWritesNothing()
{
    setEditFileName(main(), QString());
    const QString target = kit(QStringLiteral("Editor.bat"));
    writeFile(target, "keep me\r\n");
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), target},
                             {QStringLiteral("dlgEditFileSelect"), QString()}});
    QCOMPARE(readAll(target), QByteArray("keep me\r\n"));
    QCOMPARE(main().workspace().EditFileName, QString());
    QVERIFY(main().busyCalls.isEmpty());
    QCOMPARE(main().statusText(), QString());

    const QString fresh = kit(QStringLiteral("New.bat"));
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), fresh},
                             {QStringLiteral("dlgEditFileSelect"), QString()}});
    QVERIFY(!QFile::exists(fresh));
}

void TestBatchFiles::failedEditorExportLeavesTheFileAsItWas()
{
    // No "." in the name: no editor line, so the chosen file must stay whole.
    setEditFileName(main(), QStringLiteral("MyFB"));
    const QString target = kit(QStringLiteral("Editor.bat"));
    writeFile(target, "REM mine\r\n..\\bin\\jre x\r\n");
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), target}});
    QCOMPARE(readAll(target), QByteArray("REM mine\r\n..\\bin\\jre x\r\n"));
    // Said, so that the old file does not pass for a fresh export.
    QCOMPARE(main().statusText(),
             QStringLiteral("Not written: the file to edit, \"MyFB\", has no extension, so no editor line can be built"));
    QCOMPARE(main().busyCalls, (QList<bool>{true, false}));

    const QString fresh = kit(QStringLiteral("Fresh.bat"));
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), fresh}});
    QVERIFY(!QFile::exists(fresh));

    // A line the code page cannot hold is not written as another one (the
    // OEM code page 437 where the Windows tests run has no "ā"; UTF-8 no
    // lone surrogate).
#ifdef Q_OS_WIN
    const QString outside = QStringLiteral("..\\\u0101\\jikes");
#else
    const QString outside = QStringLiteral("..\\jikes") + QChar(0xD800);
#endif
    main().setSetting(core::kCompiler, outside);
    main().forget();
    run(main().mnuSaveCompile, {{QStringLiteral("dlgCommonDialog"), fresh}});
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(main().statusText(), QStringLiteral("Not written: the line holds characters the system's code page cannot hold"));

#ifndef Q_OS_WIN
    // A write the system refuses is said too: here the name is a link into
    // a folder that is not there (a file dialog takes no folder as a name).
    main().setSetting(core::kCompiler, QStringLiteral("..\\bin\\jikes"));
    const QString link = kit(QStringLiteral("Linked.bat"));
    QVERIFY(QFile::link(kit(QStringLiteral("gone/Linked.bat")), link));
    core::setCurrentLanguage(core::Language::Japanese);
    run(main().mnuSaveCompile, {{QStringLiteral("dlgCommonDialog"), link}});
    core::setCurrentLanguage(core::Language::English);
    QCOMPARE(main().statusText(), link + QString::fromUtf8(" を保存できませんでした。ファイルは元のままです"));
#endif
}

// The command interpreter runs an exported Compiler.bat as the line was
// built: the compiler (a child of the tests' own that reports the line it
// was given) receives a package name outside ASCII, "&" and "%" as they
// are, and its output lands in compile.log. Run for a Western user (OEM
// code page 437 beside the ANSI 1252) and a Japanese one (932).
void TestBatchFiles::exportedCompilerBatRunsAsBuilt()
{
#ifndef Q_OS_WIN
    QSKIP("Only Windows runs batch files");
#else
    QVERIFY(QDir(m_kit->path()).mkpath(QStringLiteral("tools")));
    QVERIFY(QFile::copy(testProgram(QStringLiteral("tavo_echo_child")), kit(QStringLiteral("tools/jikes.exe"))));
    const QString package = GetOEMCP() == 932 ? QStringLiteral("日本\\ライブ") : QStringLiteral("caf\u00e9");
    const QString classPath = QStringLiteral("..\\lib\\R&D\\x.jar;..\\lib\\50%off.jar;");
    main().setSetting(core::kCompiler, QStringLiteral("tools\\jikes"));
    main().setSetting(core::kCP, classPath);
    main().lstsrcpath->addItem(package);
    ui::selectRow(main().lstsrcpath, 3);
    const QString batch = kit(QStringLiteral("Compiler.bat"));
    run(main().mnuSaveCompile, {{QStringLiteral("dlgCommonDialog"), batch}});
    QVERIFY(QFile::exists(batch));

    const QString report = kit(QStringLiteral("report.txt"));
    QProcess interpreter;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TAVO_ECHO_OUT"), QDir::toNativeSeparators(report));
    interpreter.setProcessEnvironment(environment);
    interpreter.setWorkingDirectory(m_kit->path());
    interpreter.start(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), QStringLiteral("Compiler.bat")});
    QVERIFY(interpreter.waitForFinished(60000));
    const QString line = readLines(report).value(0).mid(5);
    QCOMPARE(platform::splitWindowsCommandLine(line).mid(1),
             (QStringList{"-Xstdout", "-classpath", classPath, "..\\lib\\fb\\rt\\" + package + "\\*.java"}));
    QCOMPARE(readLines(kit(QStringLiteral("compile.log"))).value(0), line);
#endif
}

void TestBatchFiles::compilerImportRoundTrip()
{
    const QString file = kit(QStringLiteral("Compiler.bat"));
    writeFile(file, kCompilerBat);
    main().setSetting(core::kCompiler, QStringLiteral("other"));
    main().setSetting(core::kCP, QStringLiteral("othercp"));
    main().setSetting(core::kJavapath, QStringLiteral("keep\\"));
    const auto before = snapshot(m_kit->path());

    QStringList seen;
    run(main().mnuLoadCompile, {{QStringLiteral("dlgCommonDialog"), file, [&](QFileDialog *d) {
                                     seen << shownFilters(d).join(QLatin1Char('|'))
                                          << QDir(d->directory()).canonicalPath()
                                          << QString::number(d->acceptMode() == QFileDialog::AcceptOpen)
                                          << main().statusText();
                                 }}});
    QCOMPARE(seen, (QStringList{QStringLiteral("all (*.*)|*.bat|selected: *.bat"),
                                QDir(m_kit->path()).canonicalPath(), QStringLiteral("1"),
                                QStringLiteral("Load compile.bat")}));
    QCOMPARE(main().settings().value(core::kCompiler), QStringLiteral("..\\bin\\jikes"));
    QCOMPARE(main().settings().value(core::kCP), kExampleCP);
    QCOMPARE(main().settings().value(core::kJavapath), QStringLiteral("keep\\"));
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"net", "mypkg\\util", "hmi"}));
    QCOMPARE(ui::selectedRow(main().lstsrcpath), 2);
    QCOMPARE(main().statuses, (QStringList{"Load compile.bat", "", "Loading...", ""}));
    QCOMPARE(main().busyCalls, (QList<bool>{true, false}));
    QCOMPARE(main().tabs, QList<int>{1});
    frmOptions *options = main().options().form();
    QVERIFY(options && options->isVisible() && !options->isModal());
    QCOMPARE(options->SSTab->currentIndex(), 1);
    QCOMPARE(snapshot(m_kit->path()), before);
}

void TestBatchFiles::editorImportRoundTrip()
{
    const QString file = kit(QStringLiteral("Editor.bat"));
    run(main().mnuSaveEdit, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(readAll(file), kEditorBat);
    main().setSetting(core::kJREpath, QStringLiteral("jre"));
    main().setSetting(core::kLibpath, QStringLiteral("lib"));
    main().setSetting(core::kDtPackages, QStringLiteral("keep"));
    main().lstsrcpath->addItem(QStringLiteral("extra"));
    main().forget();

    QString status;
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file,
                                  [&](QFileDialog *) { status = main().statusText(); }}});
    QCOMPARE(status, QStringLiteral("Load editor.bat"));
    QCOMPARE(main().settings().value(core::kJREpath), QStringLiteral("..\\bin\\jre"));
    QCOMPARE(main().settings().value(core::kLibpath), QStringLiteral("..\\lib;..\\fb.jar;..\\fbrt.jar;"));
    QCOMPARE(main().settings().value(core::kDtPackages), QStringLiteral("keep"));
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"hmi", "net", "mypkg.util"}));
    QCOMPARE(ui::selectedRow(main().lstsrcpath), 0);
    QCOMPARE(main().workspace().EditFileName, QStringLiteral("MyFB.fbt"));
    QCOMPARE(main().statuses, (QStringList{"Load editor.bat", "", "Loading...", ""}));
    QCOMPARE(main().tabs, QList<int>{0});
    frmOptions *options = main().options().form();
    QVERIFY(options && options->isVisible() && !options->isModal());
    QCOMPARE(options->SSTab->currentIndex(), 0);
}

void TestBatchFiles::cancelledImportChangesNothing()
{
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), QString()}});
    run(main().mnuLoadCompile, {{QStringLiteral("dlgCommonDialog"), QString()}});
    QCOMPARE(main().statuses, (QStringList{"Load editor.bat", "", "Load compile.bat", ""}));
    QVERIFY(main().busyCalls.isEmpty());
    QVERIFY(main().tabs.isEmpty());
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"net", "mypkg\\util", "hmi"}));
    QCOMPARE(main().settings().value(core::kCompiler), core::Settings::defaultValue(core::kCompiler));
}

void TestBatchFiles::importsWithoutMarker()
{
    // Upper-case markers do not count.
    const QString file = kit(QStringLiteral("upper.bat"));
    writeFile(file, "REM IEC 61499 Editor\r\n..\\BIN\\jre -cp a Editor b c;d; e\r\nBIN\\jikes a b c d\r\n");
    main().setSetting(core::kCompiler, QStringLiteral("mine"));
    main().setSetting(core::kJREpath, QStringLiteral("minejre"));

    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().statusText(), QStringLiteral("Error: "));
    QCOMPARE(main().busyCalls, (QList<bool>{true, false}));
    QCOMPARE(main().cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(main().settings().value(core::kJREpath), QStringLiteral("minejre"));
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"net", "mypkg\\util", "hmi"}));
    QCOMPARE(ui::selectedRow(main().lstsrcpath), 2);

    run(main().mnuLoadCompile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().statusText(), QString());
    QCOMPARE(main().settings().value(core::kCompiler), QStringLiteral("mine"));
    QVERIFY(main().tabs.isEmpty());
    QVERIFY(!main().options().form() || !main().options().form()->isVisible());
}

void TestBatchFiles::importsOfShortLinesKeepWhatWasCopied()
{
    const QString file = kit(QStringLiteral("short.bat"));
    // An earlier REM line with the marker is the one that is read.
    writeFile(file, "REM from ..\\bin\\jre bin\\ x\r\n..\\bin\\jre -cp lib Editor MyFB a;b; d\r\n");
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().settings().value(core::kJREpath), QStringLiteral("REM"));
    QCOMPARE(main().settings().value(core::kLibpath), QStringLiteral("..\\bin\\jre"));
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"net", "mypkg\\util", "hmi"}));
    QCOMPARE(main().statusText(), QStringLiteral("Error: "));
    QVERIFY(main().tabs.isEmpty());

    run(main().mnuLoadCompile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().settings().value(core::kCompiler), QStringLiteral("REM"));
    QCOMPARE(main().settings().value(core::kCP), QStringLiteral("bin\\"));
    QCOMPARE(main().tabs, QList<int>{1});

    // Package word without its final ";": the last package is lost.
    writeFile(file, "..\\bin\\jre -cp lib Editor MyFB hmi;net d\n");
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(ui::listEntries(main().lstsrcpath), QStringList{"hmi"});
    QCOMPARE(ui::selectedRow(main().lstsrcpath), 0);

    // Without any ";" no entry would come: the import fails, the list stays.
    main().tabs.clear();
    writeFile(file, "C:\\Program Files\\bin\\jre -cp lib Editor MyFB hmi;x; d\r");
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(ui::listEntries(main().lstsrcpath), QStringList{"hmi"});
    QCOMPARE(ui::selectedRow(main().lstsrcpath), 0);
    QCOMPARE(main().statusText(), QStringLiteral("Error: "));
    QCOMPARE(main().settings().value(core::kJREpath), QStringLiteral("C:\\Program"));
    QVERIFY(main().tabs.isEmpty());
}

void TestBatchFiles::importsOfHostileFiles()
{
    const QString file = kit(QStringLiteral("garbage.bat"));
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i)
        garbage.append(char((i * 131 + 7) % 256));
    writeFile(file, garbage);
    const auto before = snapshot(m_kit->path());
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().statusText(), QStringLiteral("Error: "));
    run(main().mnuLoadCompile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().statusText(), QString());
    QCOMPARE(snapshot(m_kit->path()), before);

    // Quoted and CR-only lines, as the item rules read them: a comma inside
    // quotes cuts nothing, and a quoted program is one word, quotes and all.
    writeFile(file, "\"cd, src\"\r\"..\\my jre\\bin\\java\" -cp x Editor F p;q; d\r");
    run(main().mnuLoadEditFile, {{QStringLiteral("dlgCommonDialog"), file}});
    QCOMPARE(main().settings().value(core::kJREpath), QStringLiteral("\"..\\my jre\\bin\\java\""));
    QCOMPARE(main().settings().value(core::kLibpath), QStringLiteral("x"));
    QCOMPARE(ui::listEntries(main().lstsrcpath), (QStringList{"p", "q"}));
    QCOMPARE(main().statusText(), QString());
}

void TestBatchFiles::unreadableFileFailsTheImport()
{
    const QString file = kit(QStringLiteral("gone.bat"));
    writeFile(file, kEditorBat);
    main().setSetting(core::kJREpath, QStringLiteral("mine"));
    // The file goes away between the dialog and the reading.
    run(main().mnuLoadEditFile,
        {{QStringLiteral("dlgCommonDialog"), file, {}, [file] { QFile::remove(file); }}});
    QCOMPARE(main().statuses, (QStringList{"Load editor.bat", "", "Loading...", "Error: "}));
    QCOMPARE(main().settings().value(core::kJREpath), QStringLiteral("mine"));
    QCOMPARE(main().lstsrcpath->count(), 3);
    QVERIFY(!QFile::exists(file));
}

void TestBatchFiles::compileWithImportedValuesWhileOptionsAreOpen()
{
    // A stand-in compiler below the kit folder that writes down its
    // arguments, one a line.
    const QString compiler = kit(QStringLiteral("bin/javac"));
    QVERIFY(QDir(m_kit->path()).mkpath(QStringLiteral("bin")));
    QVERIFY(installStandIn(compiler));
    const QString file = kit(QStringLiteral("Compiler.bat"));
    writeFile(file, "del compile.log\r\nbin\\javac -Xstdout -classpath my.jar; x\r\n");
    main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&main()));
    run(main().mnuLoadCompile, {{QStringLiteral("dlgCommonDialog"), file}});
    frmOptions *options = main().options().form();
    QVERIFY(options && options->isVisible());
    QCOMPARE(options->txtCompiler->text(), QStringLiteral("bin\\javac"));

    // The main window stays usable: Compile starts the imported, unsaved values.
    QVERIFY(!QApplication::activeModalWidget());
    QTest::mouseClick(main().cmdCompile, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(compiler + QStringLiteral(".rec")), 20000);
    // A compiler called javac is given no "-Xstdout".
    QCOMPARE(readStandInRecord(compiler).mid(1),
             (QStringList{"-classpath", systemClassPath("my.jar;"), systemPathWord("..\\lib\\fb\\rt\\hmi\\*.java")}));
    QTRY_COMPARE_WITH_TIMEOUT(main().statusText(),
                              QStringLiteral("Compile: the compiler ended with status 0 (success); no errors or warnings"), 20000);
    QVERIFY(!QFile::exists(kit(QStringLiteral("TAVO_Starter.ini"))));
}

QTEST_MAIN(TestBatchFiles)
#include "tst_batch_files.moc"
