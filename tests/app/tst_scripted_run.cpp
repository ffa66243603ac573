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
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

#ifdef Q_OS_WIN
const QByteArray kNewline = "\r\n";
#else
const QByteArray kNewline = "\n";
#endif

constexpr int kUsageTextId = 1150;

// Every file below root with its bytes and modification time (the program
// file by its time only), and every folder.
using Snapshot = QMap<QString, QPair<QByteArray, QDateTime>>;
Snapshot snapshot(const QString &root, const QString &program)
{
    Snapshot s;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            s.insert(name, {"<folder>", QDateTime()});
            continue;
        }
        QFile f(path);
        const QByteArray bytes = path == program ? QByteArray()
            : f.open(QIODevice::ReadOnly)        ? f.readAll()
                                                 : QByteArray("<unreadable>");
        s.insert(name, {bytes, it.fileInfo().lastModified()});
    }
    return s;
}

// Settings and workspace files of the rows, made by the program's own
// writers where it has them.
QByteArray xmlSettings(const QString &classDirectory, const QString &compiler = {})
{
    settings::Values v = settings::defaultValues();
    v.insert(settings::kJREpath, "..\\jre\\bin\\java");
    v.insert(settings::kLibpath, "..\\lib;..\\my lib\\x.jar;");
    v.insert(settings::kDtPackages, "データ;more");
    v.insert(settings::kJavapath, "..\\java\\");
    v.insert(settings::kClassDirectory, classDirectory);
    if (!compiler.isEmpty())
        v.insert(settings::kCompiler, compiler);
    return settings::settingsDocument(v);
}

const QByteArray kLineFormSettings = "jre7\r\nlibs;\r\n\"dt,x\"\r\n..\\java\\\r\norg\r\nauthor\r\ncp;\r\n";
const QStringList kEntries = {"hmi", "mypkg", "mypkg\\util", "制御\\ポンプ"};

QByteArray workspaceWith(int selected)
{
    return workspace::serializeWorkspace(kEntries, selected, "MyFB.fbt");
}

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

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
    void refused_data();
    void refused();
    void helpAndVersion_data();
    void helpAndVersion();
    void singleDashOptionsStillOpenTheWindow();

private:
    QString app() const { return m_root.filePath("kit"); }
    void layFiles(const QByteArray &ini, const QByteArray &dat);
    // The program in the kit, without a display, from a folder outside it.
    Run run(const QStringList &arguments, const QString &locale = "C.UTF-8");
    // The line the window starts once the given package (entry form; empty
    // for the workspace's own selection) is selected, added first if needed.
    QString windowLine(const QString &kind, const QString &package, const QString &file);

    QTemporaryDir m_root{scratchDirTemplate()};
    QString m_program;
};

void TestScriptedRun::initTestCase()
{
    QVERIFY(m_root.isValid());
    QDir root(m_root.path());
    for (const char *dir : {"kit/src/hmi", "kit/src/mypkg/util", "kit/src/net/tcp", "kit/src/制御/ポンプ",
                            "kit/lib", "bin", "home", "elsewhere"})
        QVERIFY(root.mkpath(QString::fromUtf8(dir)));
    m_program = app() + "/" + QFileInfo(TAVO_PROGRAM).fileName();
    QVERIFY(QFile::copy(TAVO_PROGRAM, m_program));
    // Where the default Compiler setting, ..\bin\jikes, finds it.
    const QString suffix = QFileInfo(TAVO_ECHO_COMPILER).suffix();
    QVERIFY(QFile::copy(TAVO_ECHO_COMPILER, m_root.filePath("bin/jikes") + (suffix.isEmpty() ? "" : "." + suffix)));
}

void TestScriptedRun::init()
{
    QFile::remove(app() + "/TAVO_Starter.ini");
    QDir(app() + "/TAVO_Starter.ini").removeRecursively();
    QFile::remove(app() + "/TAVO_Starter.dat");
    QDir(app() + "/classes").removeRecursively();
}

void TestScriptedRun::layFiles(const QByteArray &ini, const QByteArray &dat)
{
    const QList<QPair<QString, QByteArray>> files = {{"TAVO_Starter.ini", ini}, {"TAVO_Starter.dat", dat}};
    for (const auto &[name, bytes] : files) {
        if (bytes.isNull())
            continue;
        QFile f(app() + "/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
}

Run TestScriptedRun::run(const QStringList &arguments, const QString &locale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    // The placement store, were anything written to it, lands in home.
    env.insert("HOME", m_root.filePath("home"));
    env.insert("XDG_CONFIG_HOME", m_root.filePath("home/.config"));
    env.insert("LC_ALL", locale);
    env.insert("LANG", locale);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_root.filePath("elsewhere"));
    p.start(m_program, arguments);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString TestScriptedRun::windowLine(const QString &kind, const QString &package, const QString &file)
{
    frmMain window(app(), PlacementStoreFactory{});
    QListWidget *list = window.lstsrcpath;
    if (!package.isEmpty()) {
        int index = workspace::entries(list).indexOf(package);
        if (index < 0) {
            list->addItem(package);
            index = list->count() - 1;
        }
        workspace::setSelectedIndex(list, index);
    }
    const QStringList entries = workspace::entries(list);
    const int selected = workspace::selectedIndex(list);
    return kind == "compile" ? launch::BuildCompileCommand(window.settings(), entries, selected)
                             : launch::BuildEditorCommand(window.settings(), entries, selected, file);
}

void TestScriptedRun::printCommand_data()
{
    QTest::addColumn<QByteArray>("ini"); // null: no file
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("package"); // as typed; empty: not given
    QTest::addColumn<QString>("file");

    const QByteArray xml = xmlSettings("classes");
    QTest::newRow("XML file, the selected entry, compile") << xml << workspaceWith(1) << "compile" << "" << "";
    QTest::newRow("XML file, the selected entry, editor") << xml << workspaceWith(1) << "editor" << "" << "MyFB.fbt";
    QTest::newRow("XML file, another entry typed with slashes, editor")
        << xml << workspaceWith(1) << "editor" << "mypkg/util" << "My.FB.fbt";
    QTest::newRow("XML file, a folder that is no entry, compile") << xml << workspaceWith(0) << "compile" << "net\\tcp" << "";
    QTest::newRow("line form, compile") << kLineFormSettings << workspaceWith(2) << "compile" << "" << "";
    QTest::newRow("line form, non-ASCII entry, editor")
        << kLineFormSettings << workspaceWith(0) << "editor" << "制御\\ポンプ" << "Pump.fbt";
    QTest::newRow("no settings file, compile") << QByteArray() << workspaceWith(3) << "compile" << "" << "";
    QTest::newRow("no settings file, nothing selected, a named folder, editor")
        << QByteArray() << workspaceWith(-1) << "editor" << "net/tcp" << "Conn.fbt";
    QTest::newRow("no workspace file, a named folder, compile") << xml << QByteArray() << "compile" << "hmi" << "";
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
    const Run r = run(arguments);
    QCOMPARE(snapshot(m_root.path(), m_program), before);

    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.status, 0);
    const QString expected = windowLine(kind, QString(package).replace('/', '\\'), file);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(r.out, expected.toLocal8Bit() + kNewline);
}

void TestScriptedRun::compile_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("classDirectory"); // expected to be made

    QTest::newRow("class directory set") << xmlSettings("classes") << "" << "classes";
    QTest::newRow("no settings file, a named entry") << QByteArray() << "hmi" << "";
}

void TestScriptedRun::compile()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, package);
    QFETCH(QString, classDirectory);
    layFiles(ini, workspaceWith(1));

    QStringList arguments = {"--compile"};
    if (!package.isEmpty())
        arguments << "--package" << package;
    Snapshot before = snapshot(m_root.path(), m_program);
    const Run r = run(arguments);
    Snapshot after = snapshot(m_root.path(), m_program);

    QCOMPARE(r.status, 3);
    QCOMPARE(r.err, QByteArray("stand-in compiler: status 3") + kNewline);
    // The line as the window builds it, word for word (no value here holds
    // a blank or a quote), with nothing in front of it.
    QStringList expected;
    const QStringList words = windowLine("compile", package, QString()).split(' ');
    for (const QString &word : words.mid(1))
        expected << "arg " + word;
    QStringList lines = QString::fromLocal8Bit(r.out).split(QString::fromLatin1(kNewline), Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty() && lines.first().startsWith("cwd "));
    QCOMPARE(QFileInfo(lines.takeFirst().mid(4)).canonicalFilePath(), QFileInfo(app()).canonicalFilePath());
    QCOMPARE(lines, expected);

    if (!classDirectory.isEmpty()) {
        QVERIFY(QFileInfo(app() + "/" + classDirectory).isDir());
        QVERIFY(after.remove("kit/" + classDirectory));
    }
    QCOMPARE(after, before);
}

void TestScriptedRun::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("ini"); // "<folder>": a folder in its place
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // part of the message

    const QByteArray xml = xmlSettings("classes");
    const QByteArray dat = workspaceWith(1);
    const auto row = [&](const char *name, const QStringList &args, const QByteArray &ini, const QByteArray &d,
                         const QString &said, int status = 2) {
        QTest::newRow(name) << args << ini << d << status << said;
    };
    row("unknown option", {"--compile", "--bogus"}, xml, dat, "unknown option: --bogus");
    row("Qt's single-dash option", {"--compile", "-platform", "offscreen"}, xml, dat, "unknown option: -platform");
    row("value missing", {"--compile", "--package"}, xml, dat, "--package needs a value");
    row("value on an option without one", {"--compile=yes"}, xml, dat, "--compile takes no value");
    row("argument that is no option", {"--compile", "mypkg"}, xml, dat, "unexpected argument: mypkg");
    row("nothing to do", {"--package", "mypkg"}, xml, dat, "nothing to do");
    row("both actions", {"--compile", "--print-command", "compile"}, xml, dat, "not both");
    row("unknown line", {"--print-command", "linker"}, xml, dat, "\"linker\"");
    row("editor without a file", {"--print-command", "editor"}, xml, dat, "needs --file");
    row("file for the compiler", {"--compile", "--file", "MyFB.fbt"}, xml, dat, "--file is used only");
    row("file with a folder", {"--print-command", "editor", "--file", "mypkg/MyFB.fbt"}, xml, dat,
        "without its folder: mypkg/MyFB.fbt");
    row("file without extension", {"--print-command", "editor", "--file", "MyFB"}, xml, dat, "no extension: MyFB");
    row("package that names nothing", {"--compile", "--package", "nowhere"}, xml, dat, "\"nowhere\"");
    row("package above the source root", {"--print-command", "compile", "--package", ".."}, xml, dat, "\"..\"");
    row("package with an empty level", {"--compile", "--package", "mypkg\\"}, xml, dat, "\"mypkg\\\"");
    row("nothing selected", {"--compile"}, xml, workspaceWith(-1), "no package is selected");
    row("no workspace file", {"--print-command", "compile"}, xml, QByteArray(), "no package is selected");
    row("settings file unreadable", {"--print-command", "compile", "--package", "hmi"}, "<folder>", dat,
        "settings file cannot be read");
    row("compiler that cannot start", {"--compile"}, xmlSettings("classes", "..\\bin\\missing"), dat,
        "could not be started: ..\\bin\\missing", 127);
}

void TestScriptedRun::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, dat);
    QFETCH(int, status);
    QFETCH(QString, said);
    if (ini == "<folder>")
        QVERIFY(QDir(app()).mkdir("TAVO_Starter.ini"));
    layFiles(ini == "<folder>" ? QByteArray() : ini, dat);

    const Snapshot before = snapshot(m_root.path(), m_program);
    const Run r = run(arguments);
    QCOMPARE(snapshot(m_root.path(), m_program), before);
    QCOMPARE(r.status, status);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(QString::fromLocal8Bit(r.err).contains(said), r.err.constData());
}

void TestScriptedRun::helpAndVersion_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString usage = *app::stringText(kUsageTextId, app::Language::English);
    const QString version = QStringLiteral("TAVO Starter " TAVO_VERSION_TEXT "\n");
    QTest::newRow("--help") << "--help" << "C.UTF-8" << usage;
    QTest::newRow("-h") << "-h" << "en_US.UTF-8" << usage;
    QTest::newRow("-?") << "-?" << "C.UTF-8" << usage;
    QTest::newRow("--version") << "--version" << "C.UTF-8" << version;
#ifndef Q_OS_WIN
    // Windows takes the language from the user's settings, not from these
    // variables.
    QTest::newRow("--help, Japanese") << "--help" << "ja_JP.UTF-8"
                                      << *app::stringText(kUsageTextId, app::Language::Japanese);
    QTest::newRow("-v, Japanese") << "-v" << "ja_JP.UTF-8" << version;
#endif
}

void TestScriptedRun::helpAndVersion()
{
    QFETCH(QString, argument);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const Snapshot before = snapshot(m_root.path(), m_program);
    const Run r = run({argument}, locale);
    QCOMPARE(snapshot(m_root.path(), m_program), before);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(QString::fromLocal8Bit(r.out), QString(expected).replace("\n", QString::fromLatin1(kNewline)));
}

void TestScriptedRun::singleDashOptionsStillOpenTheWindow()
{
    // A scripted run ends at once; the window keeps running.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.insert("HOME", m_root.filePath("home"));
    env.insert("XDG_CONFIG_HOME", m_root.filePath("home/.config"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(m_program, {"-platform", "offscreen"});
    QVERIFY(p.waitForStarted());
    QVERIFY2(!p.waitForFinished(3000), p.readAllStandardError().constData());
    p.kill();
    p.waitForFinished();
}

QTEST_MAIN(TestScriptedRun)
#include "tst_scripted_run.moc"
