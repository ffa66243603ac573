// The built program run from a build script: in a kit of its own, with no
// display, compared with what the window would start for the same files.
#include "app/StringTable.h"
#include "launch/CommandLines.h"
#include "settings/SettingsAccess.h"
#include "settings/SettingsFile.h"
#include "workspace/SourceList.h"
#include "workspace/WorkspaceFile.h"
#include "workspace/frmMain.h"

#include "common/TestFiles.h"

#include <QDateTime>
#include <QDirIterator>
#include <QListWidget>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

#ifdef Q_OS_WIN
const QString kNewline = "\r\n";
#else
const QString kNewline = "\n";
#endif

// Every file below root with its bytes (the program file's left out) and
// modification time, and every folder.
using Snapshot = QMap<QString, QPair<QByteArray, QDateTime>>;
Snapshot snapshot(const QString &root, const QString &program)
{
    Snapshot s;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        const bool contents = !it.fileInfo().isDir() && f.fileName() != program;
        s.insert(QDir(root).relativeFilePath(f.fileName()),
                 {contents && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(),
                  it.fileInfo().isDir() ? QDateTime() : it.fileInfo().lastModified()});
    }
    return s;
}

// The rows' files, made by the program's own writers where it has them.
QByteArray xmlSettings(const QString &classDirectory, const QString &compiler = "..\\bin\\jikes")
{
    settings::Values v = settings::defaultValues();
    v.insert(settings::kJREpath, "..\\jre\\bin\\java");
    v.insert(settings::kLibpath, "..\\lib;..\\my lib\\x.jar;");
    v.insert(settings::kDtPackages, "データ;more");
    v.insert(settings::kJavapath, "..\\java\\");
    v.insert(settings::kClassDirectory, classDirectory);
    v.insert(settings::kCompiler, compiler);
    return settings::settingsDocument(v);
}
const QByteArray kLineForm = "jre7\r\nlibs;\r\n\"dt,x\"\r\n..\\java\\\r\norg\r\nauthor\r\ncp;\r\n";
QByteArray workspaceWith(int selected)
{
    return workspace::serializeWorkspace({"hmi", "mypkg", "mypkg\\util", "制御\\ポンプ"}, selected, "MyFB.fbt");
}

} // namespace

class TestScriptedRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void printCommand_data();
    void printCommand();
    void compile_data();
    void compile();
    void answers_data();
    void answers();
    void singleDashOptionsStillOpenTheWindow();

private:
    QString app() const { return m_root.filePath("kit"); }
    void layFiles(const QByteArray &ini, const QByteArray &dat); // null: no file
    // No display, the placement store in home, started from outside the kit.
    QProcessEnvironment environment(const QString &locale = "C.UTF-8") const;
    // Runs the program in the kit; its exit status, standard output and error.
    int run(const QStringList &arguments, QByteArray &out, QByteArray &err, const QString &locale = "C.UTF-8");
    // The line the window starts once the package (entry form; empty: the
    // workspace's own selection) is selected, added to the list if needed.
    QString windowLine(const QString &kind, const QString &package, const QString &file);

    QTemporaryDir m_root{scratchDirTemplate()};
    QString m_program;
};

void TestScriptedRun::initTestCase()
{
    for (const char *dir : {"kit/src/hmi", "kit/src/mypkg/util", "kit/src/net/tcp", "kit/src/制御/ポンプ",
                            "kit/lib", "bin", "home", "elsewhere"})
        QVERIFY(QDir(m_root.path()).mkpath(QString::fromUtf8(dir)));
    m_program = app() + "/" + QFileInfo(TAVO_PROGRAM).fileName();
    QVERIFY(QFile::copy(TAVO_PROGRAM, m_program));
    // Where the default Compiler setting, ..\bin\jikes, finds it.
    QVERIFY(installStandIn(m_root.filePath("bin/jikes")));
}

void TestScriptedRun::init()
{
    for (const char *name : {"TAVO_Starter.ini", "TAVO_Starter.dat", "classes"}) {
        QFile::remove(app() + "/" + name);
        QDir(app() + "/" + name).removeRecursively();
    }
}

void TestScriptedRun::layFiles(const QByteArray &ini, const QByteArray &dat)
{
    for (const auto &[name, bytes] : {std::pair{"TAVO_Starter.ini", ini}, std::pair{"TAVO_Starter.dat", dat}}) {
        QFile f(app() + "/" + name);
        QVERIFY(bytes.isNull() || (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()));
    }
}

QProcessEnvironment TestScriptedRun::environment(const QString &locale) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    env.insert("HOME", m_root.filePath("home"));
    env.insert("XDG_CONFIG_HOME", m_root.filePath("home/.config"));
    env.insert("LC_ALL", locale);
    env.insert("LANG", locale);
    // The stand-in compiler's exit status.
    env.insert("TAVO_STAND_IN_STATUS", "3");
    return env;
}

int TestScriptedRun::run(const QStringList &arguments, QByteArray &out, QByteArray &err, const QString &locale)
{
    QProcess p;
    p.setProcessEnvironment(environment(locale));
    p.setWorkingDirectory(m_root.filePath("elsewhere"));
    p.start(m_program, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    out = p.readAllStandardOutput();
    err = p.readAllStandardError();
    return p.exitCode();
}

QString TestScriptedRun::windowLine(const QString &kind, const QString &package, const QString &file)
{
    frmMain window(app(), PlacementStoreFactory{});
    QListWidget *list = window.lstsrcpath;
    if (!package.isEmpty()) {
        if (!workspace::entries(list).contains(package))
            list->addItem(package);
        workspace::setSelectedIndex(list, workspace::entries(list).indexOf(package));
    }
    const QStringList entries = workspace::entries(list);
    const int selected = workspace::selectedIndex(list);
    return kind == "compile" ? launch::BuildCompileCommand(window.settings(), entries, selected)
                             : launch::BuildEditorCommand(window.settings(), entries, selected, file);
}

void TestScriptedRun::printCommand_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("package"); // as typed; empty: not given
    QTest::addColumn<QString>("file");

    const QByteArray xml = xmlSettings("classes");
    QTest::newRow("XML, selected entry, compile") << xml << workspaceWith(1) << "compile" << "" << "";
    QTest::newRow("XML, selected entry, editor") << xml << workspaceWith(1) << "editor" << "" << "MyFB.fbt";
    QTest::newRow("XML, entry typed with slashes, editor") << xml << workspaceWith(1) << "editor" << "mypkg/util"
                                                           << "My.FB.fbt";
    QTest::newRow("XML, folder that is no entry, compile") << xml << workspaceWith(0) << "compile" << "net\\tcp" << "";
    QTest::newRow("line form, compile") << kLineForm << workspaceWith(2) << "compile" << "" << "";
    QTest::newRow("line form, non-ASCII entry, editor") << kLineForm << workspaceWith(0) << "editor"
                                                        << "制御\\ポンプ" << "Pump.fbt";
    QTest::newRow("no settings, compile") << QByteArray() << workspaceWith(3) << "compile" << "" << "";
    QTest::newRow("no settings, none selected, folder named, editor") << QByteArray() << workspaceWith(-1)
                                                                      << "editor" << "net/tcp" << "Conn.fbt";
    QTest::newRow("no workspace file, folder named, compile") << xml << QByteArray() << "compile" << "hmi" << "";
}

void TestScriptedRun::printCommand()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, dat);
    QFETCH(QString, kind);
    QFETCH(QString, package);
    QFETCH(QString, file);
    layFiles(ini, dat);
    QStringList arguments = {"--print-command", kind};
    if (!package.isEmpty())
        arguments << "--package" << package;
    if (!file.isEmpty())
        arguments << "--file" << file;

    const Snapshot before = snapshot(m_root.path(), m_program);
    QByteArray out, err;
    QCOMPARE(run(arguments, out, err), 0);
    QCOMPARE(snapshot(m_root.path(), m_program), before);
    QCOMPARE(err, QByteArray());
    const QString expected = windowLine(kind, QString(package).replace('/', '\\'), file);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(out, (expected + kNewline).toLocal8Bit());
}

void TestScriptedRun::compile_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("package");
    QTest::addColumn<bool>("classesMade");

    QTest::newRow("class directory set") << xmlSettings("classes") << "" << true;
    QTest::newRow("no settings file, an entry named") << QByteArray() << "hmi" << false;
}

void TestScriptedRun::compile()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, package);
    QFETCH(bool, classesMade);
    layFiles(ini, workspaceWith(1));
    QStringList arguments = {"--compile"};
    if (!package.isEmpty())
        arguments << "--package" << package;

    QFile::remove(m_root.filePath("bin/jikes.rec"));
    const Snapshot before = snapshot(m_root.path(), m_program);
    QByteArray out, err;
    QCOMPARE(run(arguments, out, err), 3);
    Snapshot after = snapshot(m_root.path(), m_program);
    // The stand-in compiler's own record of its run.
    QVERIFY(after.remove("bin/jikes.rec") == 1);
    QCOMPARE(QString::fromLocal8Bit(err), "stand-in tool: status 3" + kNewline);
    // The window's line word for word (no value here holds a blank or a
    // quote), nothing in front of it, run in the kit folder.
    QStringList lines = QString::fromLocal8Bit(out).split(kNewline, Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty() && lines.first().startsWith("cwd "));
    QCOMPARE(QFileInfo(lines.takeFirst().mid(4)).canonicalFilePath(), QFileInfo(app()).canonicalFilePath());
    QStringList words = windowLine("compile", package, QString()).split(' ').mid(1);
    for (QString &word : words)
        word.prepend("arg ");
    QCOMPARE(lines, words);
    QCOMPARE(after.remove("kit/classes") == 1, classesMade);
    QCOMPARE(after, before);
}

void TestScriptedRun::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("ini"); // "<folder>": a folder in its place
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // on standard error, or the whole standard output
    QTest::addColumn<QString>("locale");

    const QByteArray xml = xmlSettings("classes");
    const QByteArray dat = workspaceWith(1);
    const auto row = [&](const char *name, const QStringList &args, const QString &said, int status = 2,
                         const QByteArray &ini = xmlSettings("classes"), const QByteArray &d = workspaceWith(1),
                         const QString &locale = "C.UTF-8") {
        QTest::newRow(name) << args << ini << d << status << said << locale;
    };
    const QString usage = app::stringText(1150, app::Language::English).value_or("?");
    row("--help", {"--help"}, usage, 0);
    row("-h", {"-h"}, usage, 0);
    row("-?", {"-?"}, usage, 0);
    row("--version", {"--version"}, "TAVO Starter " TAVO_VERSION_TEXT "\n", 0);
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not these variables.
    row("--help, Japanese", {"--help"}, app::stringText(1150, app::Language::Japanese).value_or("?"), 0, xml, dat,
        "ja_JP.UTF-8");
#endif
    row("unknown option", {"--compile", "--bogus"}, "unknown option: --bogus");
    row("Qt's single-dash option", {"--compile", "-platform", "offscreen"}, "unknown option: -platform");
    row("value missing", {"--compile", "--package"}, "--package needs a value");
    row("value on an option without one", {"--compile=yes"}, "--compile takes no value");
    row("argument that is no option", {"--compile", "mypkg"}, "unexpected argument: mypkg");
    row("nothing to do", {"--package", "mypkg"}, "nothing to do");
    row("both actions", {"--compile", "--print-command", "compile"}, "not both");
    row("unknown line", {"--print-command", "linker"}, "\"linker\"");
    row("editor without a file", {"--print-command", "editor"}, "needs --file");
    row("file for the compiler", {"--compile", "--file", "MyFB.fbt"}, "--file is used only");
    row("file with a folder", {"--print-command", "editor", "--file", "a/MyFB.fbt"}, "without its folder: a/MyFB");
    row("file without extension", {"--print-command", "editor", "--file", "MyFB"}, "no extension: MyFB");
    row("package naming nothing", {"--compile", "--package", "nowhere"}, "\"nowhere\"");
    row("package above the source root", {"--print-command", "compile", "--package", ".."}, "\"..\"");
    row("nothing selected", {"--compile"}, "no package is selected", 2, xml, workspaceWith(-1));
    row("no workspace file", {"--print-command", "compile"}, "no package is selected", 2, xml, QByteArray());
    row("settings file unreadable", {"--print-command", "compile", "--package", "hmi"},
        "settings file cannot be read", 2, "<folder>");
    row("compiler that cannot start", {"--compile"}, "could not be started: ..\\bin\\missing", 127,
        xmlSettings("classes", "..\\bin\\missing"));
}

void TestScriptedRun::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, dat);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, locale);
    if (ini == "<folder>")
        QVERIFY(QDir(app()).mkdir("TAVO_Starter.ini"));
    layFiles(ini == "<folder>" ? QByteArray() : ini, dat);

    const Snapshot before = snapshot(m_root.path(), m_program);
    QByteArray out, err;
    QCOMPARE(run(arguments, out, err, locale), status);
    QCOMPARE(snapshot(m_root.path(), m_program), before);
    if (status == 0) {
        QCOMPARE(QString::fromLocal8Bit(out), QString(said).replace("\n", kNewline));
        QCOMPARE(err, QByteArray());
    } else {
        QCOMPARE(out, QByteArray());
        QVERIFY2(QString::fromLocal8Bit(err).contains(said), err.constData());
    }
}

void TestScriptedRun::singleDashOptionsStillOpenTheWindow()
{
    // A scripted run ends at once; the window keeps running.
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(m_program, {"-platform", "offscreen"});
    QVERIFY(p.waitForStarted());
    QVERIFY2(!p.waitForFinished(3000), p.readAllStandardError().constData());
    p.kill();
    p.waitForFinished();
}

QTEST_MAIN(TestScriptedRun)
#include "tst_scripted_run.moc"
