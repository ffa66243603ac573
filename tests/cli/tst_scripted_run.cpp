// The built program run from a build script: in a kit of its own, with no
// display, each answer written out as the script must see it.
#include "core/SettingsFile.h"
#include "core/WorkspaceFile.h"

#include "support/TestFiles.h"

#include <QDateTime>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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
QByteArray xmlSettings(const QString &classDirectory, const QString &compiler = "..\\bin\\jikes",
                       const QString &dtPackages = "データ;more")
{
    core::Settings v;
    v.setValue(core::kJREpath, "..\\jre\\bin\\java");
    v.setValue(core::kLibpath, "..\\lib;..\\my lib\\x.jar;");
    v.setValue(core::kDtPackages, dtPackages);
    v.setValue(core::kJavapath, "..\\java\\");
    v.setValue(core::kClassDirectory, classDirectory);
    v.setValue(core::kCompiler, compiler);
    return core::settingsDocument(v);
}
const QByteArray kLineForm = "jre7\r\nlibs;\r\n\"dt,x\"\r\n..\\java\\\r\norg\r\nauthor\r\ncp;\r\n";
QByteArray workspaceWith(int selected)
{
    // A name every system's code page here holds, UTF-8 and 1252 alike.
    return core::serializeWorkspace({{"hmi", "mypkg", "mypkg\\util", "régul\\pompe"}, selected, "MyFB.fbt"});
}

// Text as the program writes it to a pipe: on Windows in the console's OEM
// code page, the one a batch file's "for /f" reads it in ("é" is 0x82
// there, not the ANSI page's 0xE9).
QByteArray asPiped(const QString &text)
{
#ifdef Q_OS_WIN
    const std::wstring wide = text.toStdWString();
    const int size = WideCharToMultiByte(GetOEMCP(), 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(qsizetype(std::max(size, 0)), '\0');
    WideCharToMultiByte(GetOEMCP(), 0, wide.data(), int(wide.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
#else
    return text.toLocal8Bit();
#endif
}

// The class path of the default settings.
const QString kDefaultCP = "..\\lib;..\\lib\\rt.jar;..\\lib\\math.jar;..\\fbrt.jar;..\\fb.jar;";

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
    void checkJudgesWhatTheStartDoes_data();
    void checkJudgesWhatTheStartDoes();
    void realCompilers_data();
    void realCompilers();
    void answers_data();
    void answers();
    void qtWindowOptionsStillOpenTheWindow();
    void failedWriteIsNoSuccess();
    void consoleShowsText();
    void compilerWaitsOnNoSystemBox();
    void checkTheDemoKit();

private:
    QString app() const { return m_root.filePath("kit"); }
    void layFiles(const QByteArray &ini, const QByteArray &dat); // null: no file
    // No display, the placement store in home, started from outside the kit.
    QProcessEnvironment environment(const QString &locale = "C.UTF-8") const;
    // Runs the program in the kit; its exit status, standard output and error.
    int run(const QStringList &arguments, QByteArray &out, QByteArray &err, const QString &locale = "C.UTF-8",
            const QByteArray &standInStatus = "3");

    QTemporaryDir m_root{scratchDirTemplate()};
    QString m_program;
};

void TestScriptedRun::initTestCase()
{
    for (const char *dir : {"kit/src/hmi", "kit/src/mypkg/util", "kit/src/net/tcp", "kit/src/制御/ポンプ", "kit/src/régul/pompe", "kit/src/café",
                            "kit/lib", "bin", "home", "elsewhere"})
        QVERIFY(QDir(m_root.path()).mkpath(QString::fromUtf8(dir)));
    m_program = app() + "/" + QFileInfo(TAVO_PROGRAM).fileName();
    QVERIFY(QFile::copy(TAVO_PROGRAM, m_program));
    // Where the default Compiler setting, ..\bin\jikes, finds it.
    QVERIFY(installStandIn(m_root.filePath("bin/jikes")));
    // A compiler known as javac by its file's name, on every system.
    QVERIFY(QFile::copy(testProgram("tavo_stand_in"), m_root.filePath("bin/javac.exe")));
}

void TestScriptedRun::init()
{
    for (const char *name : {"TAVO_Starter.ini", "TAVO_Starter.dat", "classes", "my classes"}) {
        QFile::remove(app() + "/" + name);
        QDir(app() + "/" + name).removeRecursively();
    }
}

void TestScriptedRun::layFiles(const QByteArray &ini, const QByteArray &dat)
{
    for (const auto &[name, bytes] : {std::pair{"TAVO_Starter.ini", ini}, std::pair{"TAVO_Starter.dat", dat}}) {
        QFile f(app() + "/" + name);
        if (bytes == "<folder>")
            QVERIFY(QDir(app()).mkdir(name));
        else
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
    return env;
}

int TestScriptedRun::run(const QStringList &arguments, QByteArray &out, QByteArray &err, const QString &locale,
                         const QByteArray &standInStatus)
{
    QProcess p;
    QProcessEnvironment env = environment(locale);
    // The stand-in compiler's exit status.
    env.insert("TAVO_STAND_IN_STATUS", standInStatus);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_root.filePath("elsewhere"));
    p.start(m_program, arguments);
    if (!p.waitForFinished(60000)) {
        qWarning("the program did not run to its end: %s", qPrintable(p.errorString()));
        return -1;
    }
#ifndef Q_OS_WIN
    // Ended by a signal (an abort for want of a display, say): no status.
    // Windows has none; Qt calls exception codes crashes, but they are the
    // status the program ended with.
    if (p.exitStatus() != QProcess::NormalExit)
        return -1;
#endif
    out = p.readAllStandardOutput();
    err = p.readAllStandardError();
    return p.exitCode();
}

void TestScriptedRun::printCommand_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("dat");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("line");

    const QByteArray xml = xmlSettings("classes");
    const QString xmlEditor = "..\\jre\\bin\\java -cp ..\\lib;..\\my lib\\x.jar; Editor ";
    const QString xmlCompile = "..\\bin\\jikes -Xstdout -classpath " + kDefaultCP + " ..\\java\\";
    const QString tail = "\\*.java -d classes %1 > .\\compile.log";
    QTest::newRow("XML, selected entry, compile")
        << xml << workspaceWith(1) << QStringList{"--print-command", "compile"} << xmlCompile + "mypkg" + tail;
    QTest::newRow("XML, selected entry, editor")
        << xml << workspaceWith(1) << QStringList{"--print-command", "editor", "--file", "MyFB.fbt"}
        << xmlEditor + "MyFB mypkg;hmi;mypkg.util;régul.pompe; データ;more";
    QTest::newRow("XML, entry typed with slashes, editor")
        << xml << workspaceWith(1)
        << QStringList{"--print-command", "editor", "--package", "mypkg/util", "--file", "My.FB.fbt"}
        << xmlEditor + "My mypkg\\util;hmi;mypkg;régul.pompe; データ;more";
    QTest::newRow("XML, folder that is no entry, compile")
        << xml << workspaceWith(0) << QStringList{"--print-command", "compile", "--package", "net\\tcp"}
        << xmlCompile + "net\\tcp" + tail;
    QTest::newRow("line form, compile")
        << kLineForm << workspaceWith(2) << QStringList{"--print-command", "compile"}
        << "..\\bin\\jikes -Xstdout -classpath cp; ..\\java\\mypkg\\util\\*.java %1 > .\\compile.log";
    QTest::newRow("line form, non-ASCII entry, editor")
        << kLineForm << workspaceWith(0)
        << QStringList{"--print-command", "editor", "--package", "制御\\ポンプ", "--file", "Pump.fbt"}
        << "jre7 -cp libs; Editor Pump 制御\\ポンプ;hmi;mypkg;mypkg.util;régul.pompe; dt,x";
    QTest::newRow("no settings, compile")
        << QByteArray() << workspaceWith(3) << QStringList{"--print-command", "compile"}
        << "..\\bin\\jikes -Xstdout -classpath " + kDefaultCP + " ..\\lib\\fb\\rt\\régul\\pompe\\*.java %1 > .\\compile.log";
    QTest::newRow("no settings, none selected, folder named, editor")
        << QByteArray() << workspaceWith(-1)
        << QStringList{"--print-command", "editor", "--package", "net/tcp", "--file", "Conn.fbt"}
        << "..\\bin\\jre -cp ..\\lib;..\\fb.jar;..\\fbrt.jar; Editor Conn net\\tcp;hmi;mypkg;mypkg.util;régul.pompe; ";
    QTest::newRow("no workspace file, folder named, compile")
        << xml << QByteArray() << QStringList{"--print-command", "compile", "--package", "hmi"}
        << xmlCompile + "hmi" + tail;
    // Through a pipe, in the system's 8-bit code page.
    QTest::newRow("accented folder named")
        << xml << workspaceWith(1) << QStringList{"--print-command", "compile", "--package", "café"}
        << xmlCompile + "café" + tail;
    // As shell completion writes a folder's name.
    QTest::newRow("package with a trailing separator")
        << xml << workspaceWith(0) << QStringList{"--print-command", "compile", "--package", "mypkg/util/"}
        << xmlCompile + "mypkg\\util" + tail;
    // Qt's window options mean nothing without a window, wherever they stand.
    QTest::newRow("Qt's window options before, between and after")
        << xml << workspaceWith(1)
        << QStringList{"-platform", "offscreen", "--print-command", "-reverse", "compile", "--style", "fusion",
                       "-stylesheet=x.qss"}
        << xmlCompile + "mypkg" + tail;
#ifdef Q_OS_WIN
    // The folder's own name, whatever the case typed, and the entry that
    // names it, which stands once in the editor's word.
    QTest::newRow("folder named in another case")
        << xml << workspaceWith(0) << QStringList{"--print-command", "compile", "--package", "MYPKG/Util"}
        << xmlCompile + "mypkg\\util" + tail;
    QTest::newRow("entry named in another case, editor")
        << kLineForm << workspaceWith(0) << QStringList{"--print-command", "editor", "--package", "MyPkg", "--file", "My.fbt"}
        << "jre7 -cp libs; Editor My mypkg;hmi;mypkg.util;régul.pompe; dt,x";
#endif
    // A line end in a value goes out as it is, not with another CR.
    QTest::newRow("value holding a line end, editor")
        << xmlSettings("classes", "..\\bin\\jikes", "a\r\nb") << workspaceWith(1)
        << QStringList{"--print-command", "editor", "--file", "My.fbt"}
        << xmlEditor + "My mypkg;hmi;mypkg.util;régul.pompe; a\r\nb";
    // A workspace file that cannot be read does not matter when the package is named.
    QTest::newRow("unreadable workspace file, package named")
        << xml << QByteArray("<folder>") << QStringList{"--print-command", "compile", "--package", "hmi"}
        << xmlCompile + "hmi" + tail;
}

void TestScriptedRun::printCommand()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, dat);
    QFETCH(QStringList, arguments);
    QFETCH(QString, line);
    layFiles(ini, dat);

#ifdef Q_OS_WIN
    // To a pipe in the OEM code page (437 here), which holds nothing past
    // U+00FF: such a line is not written at all, rather than with "?" in its
    // stead.
    const bool held = std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() <= 0xFF; });
#else
    const bool held = true;
#endif
    const Snapshot before = snapshot(m_root.path(), m_program);
    QByteArray out, err;
    QCOMPARE(run(arguments, out, err), held ? 0 : 65);
    QCOMPARE(snapshot(m_root.path(), m_program), before);
    if (!held) {
        QCOMPARE(out, QByteArray());
        QCOMPARE(QString::fromLocal8Bit(err), "TAVO_Starter: 1 of 1 lines not written: they hold characters the "
                                              "system's code page cannot hold" + kNewline);
        return;
    }
    QCOMPARE(err, QByteArray());
    QCOMPARE(out, asPiped(line + kNewline));
}

void TestScriptedRun::compile_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QByteArray>("standInStatus");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("words"); // what the compiler is given
    QTest::addColumn<QString>("classesMade"); // below the kit
    QTest::addColumn<QString>("compiler");    // the stand-in the Compiler setting names

    const QString cp = systemClassPath(kDefaultCP);
    const QString sources = systemPathWord("..\\java\\mypkg\\*.java");
    const QStringList xmlWords = {"-Xstdout", "-classpath", cp, sources, "-d", "classes"};
    const QString jikes = "..\\bin\\jikes";
    QTest::newRow("class directory set") << xmlSettings("classes") << "" << QByteArray("3") << 3 << xmlWords
                                         << "classes" << jikes;
    QTest::newRow("no settings file, an entry named")
        << QByteArray() << "hmi" << QByteArray("3") << 3
        << QStringList{"-Xstdout", "-classpath", cp, systemPathWord("..\\lib\\fb\\rt\\hmi\\*.java")} << "" << jikes;
    // Quoted for its blank: the compiler is given the folder in one word.
    QTest::newRow("class directory quoted for its blank")
        << xmlSettings("\"my classes\"") << "" << QByteArray("0") << 0
        << QStringList{"-Xstdout", "-classpath", cp, sources, "-d", "my classes"}
        << "my classes" << jikes;
    // An exception code: Windows keeps all 32 bits, which are negative as
    // an int; elsewhere a status is its low byte.
#ifdef Q_OS_WIN
    const int crashed = int(0xC0000005u);
#else
    const int crashed = 0x05;
#endif
    QTest::newRow("compiler that crashed") << xmlSettings("classes") << "" << QByteArray("3221225477") << crashed
                                           << xmlWords << "classes" << jikes;
    // javac would take -Xstdout for the name of a file to write into.
    QTest::newRow("javac is given no -Xstdout") << xmlSettings("classes", "..\\bin\\javac.exe") << ""
                                                << QByteArray("0") << 0 << xmlWords.mid(1) << "classes"
                                                << "..\\bin\\javac.exe";
}

void TestScriptedRun::compile()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, package);
    QFETCH(QByteArray, standInStatus);
    QFETCH(int, status);
    QFETCH(QStringList, words);
    QFETCH(QString, classesMade);
    QFETCH(QString, compiler);
    layFiles(ini, workspaceWith(1));
    QStringList arguments = {"--compile"};
    if (!package.isEmpty())
        arguments << "--package" << package;

    const QString record = "bin/" + QFileInfo(systemPathWord(compiler)).completeBaseName() + ".rec";
    QFile::remove(m_root.filePath(record));
    const Snapshot before = snapshot(m_root.path(), m_program);
    QByteArray out, err;
    QCOMPARE(run(arguments, out, err, "C.UTF-8", standInStatus), status);
    Snapshot after = snapshot(m_root.path(), m_program);
    // The stand-in compiler's own record of its run.
    QVERIFY(after.remove(record) == 1);
    // The words as started first, then what the compiler said.
    const QStringList said = QString::fromLocal8Bit(err).split(kNewline);
    QCOMPARE(said.size(), 3);
    QVERIFY2(said[0].startsWith(systemPathWord(compiler) + " " + words.mid(0, 2).join(u' ') + " "), qPrintable(said[0]));
    QCOMPARE(said[1], "stand-in tool: status " + standInStatus);
    // Word for word, without the batch file's " %1 > .\compile.log", run
    // in the kit folder, its output on ours.
    QStringList lines = QString::fromLocal8Bit(out).split(kNewline, Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty() && lines.first().startsWith("cwd "));
    QCOMPARE(QFileInfo(lines.takeFirst().mid(4)).canonicalFilePath(), QFileInfo(app()).canonicalFilePath());
    for (QString &word : words)
        word.prepend("arg ");
    QCOMPARE(lines, words);
    if (!classesMade.isEmpty())
        QVERIFY(after.remove("kit/" + classesMade) == 1);
    QCOMPARE(after, before);
}

// --check calls the compiler a problem exactly where --compile cannot start
// it (127), on the same kits.
void TestScriptedRun::checkJudgesWhatTheStartDoes_data()
{
    QTest::addColumn<QString>("compiler");  // the setting
    QTest::addColumn<QByteArray>("file");   // what lies at bin\tool (".exe" added on Windows), with the run bit
    QTest::addColumn<bool>("starts");

    QTest::newRow("a program") << "..\\bin\\jikes" << QByteArray() << true;
    QTest::newRow("nothing there") << "..\\bin\\tool" << QByteArray() << false;
    QTest::newRow("quote left open") << "\"..\\bin\\jikes" << QByteArray() << false;
#ifdef Q_OS_WIN
    QTest::newRow("no program image") << "..\\bin\\tool" << QByteArray("MZ not a program") << false;
#else
    QTest::newRow("text with the run bit") << "..\\bin\\tool" << QByteArray("javac \"$@\"\n") << false;
    QTest::newRow("script") << "..\\bin\\tool" << QByteArray("#!/bin/sh\nexit 3\n") << true;
#endif
}

void TestScriptedRun::checkJudgesWhatTheStartDoes()
{
    QFETCH(QString, compiler);
    QFETCH(QByteArray, file);
    QFETCH(bool, starts);
    layFiles(xmlSettings("", compiler), workspaceWith(1));
    QFile tool(standInFile(m_root.filePath("bin/tool")));
    tool.remove();
    if (!file.isNull()) {
        QVERIFY(tool.open(QIODevice::WriteOnly) && tool.write(file) == file.size());
        tool.close();
        QVERIFY(tool.setPermissions(tool.permissions() | QFile::ExeOwner));
    }
    QByteArray out, err;
    const int compiled = run({"--compile"}, out, err);
    QCOMPARE(compiled != 127, starts);
    QCOMPARE(run({"--check"}, out, err), 1); // the sources of ..\java\mypkg are not there
    QCOMPARE(out.contains("problem\tCompiler\t"), !starts);
}

// The JDK's javac and ecj themselves, started by --compile: the compiler's
// own messages and status, the classes in ClassDirectory, and no file named
// like an option anywhere.
void TestScriptedRun::realCompilers_data()
{
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QString>("package");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("said");     // pieces of its output
    QTest::addColumn<QStringList>("classes");  // made below kit/classes

    const QStringList none;
    const QStringList goodClasses{"fb/rt/good/Good.class", "fb/rt/good/Other.class"};
    QTest::newRow("javac, an error") << "javac" << "bad" << 1
                                     << QStringList{"Broken.java:4: error: cannot find symbol", "\n1 error"} << none;
    QTest::newRow("javac, mended") << "javac" << "good" << 0 << none << goodClasses;
    // ecj ends with -1 when it found errors.
    QTest::newRow("ecj, an error") << "ecj" << "bad" << 255
                                   << QStringList{"1. ERROR in ", "Broken.java (at line 4)",
                                                  "missing cannot be resolved to a variable", "1 problem (1 error)"}
                                   << none;
    QTest::newRow("ecj, mended") << "ecj" << "good" << 0 << none << goodClasses;
}

void TestScriptedRun::realCompilers()
{
#ifdef Q_OS_WIN
    QSKIP("no JDK under Wine: the stand-in rows of compile() are the Windows side");
#else
    QFETCH(QString, compiler);
    QFETCH(QString, package);
    QFETCH(int, status);
    QFETCH(QStringList, said);
    QFETCH(QStringList, classes);
    const QString program = realTool(compiler);
    QVERIFY2(!program.isEmpty(), "scripts/test installs default-jdk-headless and ecj");
    QVERIFY(writeJavaPackages(m_root.filePath("java")));
    QVERIFY(QDir(app()).mkpath("src/" + package));
    core::Settings v;
    v.setValue(core::kCompiler, program);
    v.setValue(core::kCP, ".;");
    v.setValue(core::kJavapath, "..\\java\\");
    v.setValue(core::kClassDirectory, "classes");
    layFiles(core::settingsDocument(v), workspaceWith(0));

    QByteArray out, err;
    QCOMPARE(run({"--compile", "--package", package}, out, err), status);
    const QString output = QString::fromLocal8Bit(out + err);
    for (const QString &piece : said)
        QVERIFY2(output.contains(piece), qPrintable(output));
    QStringList made;
    QDirIterator it(app() + "/classes", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        made << QDir(app() + "/classes").relativeFilePath(it.next());
    made.sort();
    QCOMPARE(made, classes);
    QCOMPARE(filesNamedLikeOptions(m_root.path()), QStringList());
#endif
}

void TestScriptedRun::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("ini"); // "<folder>": a folder in its place
    QTest::addColumn<QByteArray>("dat"); // the same
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // on standard error, or the start of standard output (of --check: a line of it)
    QTest::addColumn<QString>("locale");

    const QByteArray xml = xmlSettings("classes");
    const QByteArray dat = workspaceWith(1);
    const auto row = [&](const char *name, const QStringList &args, const QString &said, int status = 2,
                         const QByteArray &ini = xmlSettings("classes"), const QByteArray &d = workspaceWith(1),
                         const QString &locale = "C.UTF-8") {
        QTest::newRow(name) << args << ini << d << status << said << locale;
    };
    const QString usage = "Usage:\n  TAVO_Starter --print-command compile [--package NAME]\n";
    row("--help", {"--help"}, usage, 0);
    row("-h", {"-h"}, usage, 0);
    row("-?", {"-?"}, usage, 0);
    row("--version", {"--version"}, "TAVO Starter 1.2.2\n", 0);
    row("-version", {"-version"}, "TAVO Starter 1.2.2\n", 0);
#ifndef Q_OS_WIN // Windows takes the language from the user's settings, not these variables.
    row("--help, Japanese", {"--help"}, "使い方:\n  TAVO_Starter --print-command compile [--package 名前]\n", 0, xml,
        dat, "ja_JP.UTF-8");
#endif
    // Anything but Qt's window options is for the scripted run, which says
    // what is wrong rather than open a window.
    row("one-dash unknown option", {"-bogus"}, "unknown option: -bogus");
    row("Qt's window options alone but for one", {"-style", "fusion", "-reverse", "-bogus"}, "unknown option: -bogus");
    row("only an argument", {"mypkg"}, "unexpected argument: mypkg");
    row("option given twice", {"--compile", "--package", "hmi", "--package", "mypkg"},
        "--package is given more than once");
    row("option given twice, two spellings", {"-v", "--version"}, "--version is given more than once");
    row("unknown option", {"--compile", "--bogus"}, "unknown option: --bogus");
    row("value missing", {"--compile", "--package"}, "--package needs a value");
    row("value on an option without one", {"--compile=yes"}, "--compile takes no value");
    row("argument that is no option", {"--compile", "mypkg"}, "unexpected argument: mypkg");
    row("nothing to do", {"--package", "mypkg"}, "nothing to do");
    row("both actions", {"--compile", "--print-command", "compile"}, "not more");
    row("check and compile", {"--check", "--compile"}, "give one of --print-command, --compile and --check");
    row("unknown line", {"--print-command", "linker"}, "\"linker\"");
    row("editor without a file", {"--print-command", "editor"}, "needs --file");
    row("file for the compiler", {"--compile", "--file", "MyFB.fbt"}, "--file is used only");
    row("file with a folder", {"--print-command", "editor", "--file", "a/MyFB.fbt"}, "without its folder: a/MyFB");
    row("file without extension", {"--print-command", "editor", "--file", "MyFB"}, "no extension: MyFB");
    row("package naming nothing", {"--compile", "--package", "nowhere"}, "\"nowhere\"");
    row("package above the source root", {"--print-command", "compile", "--package", ".."}, "\"..\"");
    // Windows would find "mypkg" for it.
    row("package ending in a dot", {"--print-command", "compile", "--package", "mypkg."},
        "\"mypkg.\": a level of a package name may not end in a blank or a dot");
    row("nothing selected", {"--compile"}, "no package is selected", 2, xml, workspaceWith(-1));
    row("no workspace file", {"--print-command", "compile"}, "no package is selected", 2, xml, QByteArray());
    // There but unreadable, or cut before its separators: not a wrong use.
    row("workspace file a folder", {"--compile"}, "workspace file cannot be read", 66, xml, "<folder>");
    row("workspace file cut short", {"--print-command", "compile"}, "workspace file cannot be read", 66, xml,
        "hmi\r\nmypkg\r\n");
    row("workspace file a folder, checked", {"--check"},
        "problem\tworkspace file\t" + QDir::toNativeSeparators(app() + "/TAVO_Starter.dat")
            + "\tThe workspace file is there but cannot be read: the list starts empty.\n",
        1, xml, "<folder>");
    row("settings file unreadable", {"--print-command", "compile", "--package", "hmi"},
        "settings file cannot be read", 66, "<folder>");
    row("settings file not well-formed", {"--print-command", "compile", "--package", "hmi"},
        "settings file cannot be read", 66, "<settings><Editor JREpath=\"a & b\"/></settings>");
    row("compiler that cannot start", {"--compile"}, "could not be started: " + systemPathWord("..\\bin\\missing"), 127,
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
    layFiles(ini, dat);

    const Snapshot before = snapshot(m_root.path(), m_program);
    QByteArray out, err;
    QCOMPARE(run(arguments, out, err, locale), status);
    QCOMPARE(snapshot(m_root.path(), m_program), before);
    if (status == 0 || status == 1) { // 1: --check found a problem
        const QString seen = QString::fromLocal8Bit(out);
        const QString expected = QString(said).replace("\n", kNewline);
        QVERIFY2(status == 0 ? seen.startsWith(expected) : seen.contains(expected), out.constData());
        QVERIFY(seen.endsWith(kNewline));
        QCOMPARE(err, QByteArray());
    } else {
        QCOMPARE(out, QByteArray());
        QVERIFY2(QString::fromLocal8Bit(err).contains(said), err.constData());
    }
}

void TestScriptedRun::qtWindowOptionsStillOpenTheWindow()
{
    // A scripted run ends at once; the window keeps running.
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(m_program, {"-platform", "offscreen", "-reverse", "-style=fusion"});
    QVERIFY(p.waitForStarted());
    QVERIFY2(!p.waitForFinished(3000), p.readAllStandardError().constData());
    p.kill();
    p.waitForFinished();
}

void TestScriptedRun::failedWriteIsNoSuccess()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has no device that is always full");
#else
    layFiles(xmlSettings("classes"), workspaceWith(1));
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setStandardOutputFile("/dev/full");
    p.start(m_program, {"--print-command", "compile"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 74);
    QVERIFY(p.readAllStandardError().contains("the output could not be written"));
#endif
}

void TestScriptedRun::consoleShowsText()
{
#ifndef Q_OS_WIN
    QSKIP("Only a Windows console decodes bytes in a code page of its own");
#else
    // A console without a window, borrowed from a child started with none
    // (the echo child, held by an event); a screen buffer of it is the
    // program's standard output and error, and its cells are read back.
    // "é" is another byte in the console's OEM code page than in the ANSI
    // one; "Ω" is in neither.
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"TavoConsoleHolder");
    qputenv("TAVO_ECHO_WAIT", "TavoConsoleHolder");
    qputenv("TAVO_ECHO_OUT", QDir::toNativeSeparators(m_root.filePath("holder.txt")).toUtf8());
    std::wstring holderLine = QDir::toNativeSeparators(testProgram("tavo_echo_child")).toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    const bool held = CreateProcessW(nullptr, holderLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                     nullptr, nullptr, &startup, &holder);
    qunsetenv("TAVO_ECHO_WAIT");
    qunsetenv("TAVO_ECHO_OUT");
    QVERIFY(held);
    FreeConsole();
    const bool attached = QTest::qWaitFor([&] { return AttachConsole(holder.dwProcessId); }, 10000);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    &inherited, CONSOLE_TEXTMODE_BUFFER, nullptr);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = screen;
    std::wstring line = L"\"" + QDir::toNativeSeparators(m_program).toStdWString() + L"\" --caf\u00e9-\u03a9";
    PROCESS_INFORMATION run{};
    const bool started = attached && CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                                    nullptr, &startup, &run);
    DWORD status = 0;
    if (started) {
        WaitForSingleObject(run.hProcess, 60000);
        GetExitCodeProcess(run.hProcess, &status);
        CloseHandle(run.hThread);
        CloseHandle(run.hProcess);
    }
    wchar_t cells[240] = {};
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, cells, 240, {0, 0}, &read);
    CloseHandle(screen);
    FreeConsole();
    SetEvent(release);
    CloseHandle(holder.hThread);
    CloseHandle(holder.hProcess);
    CloseHandle(release);
    QVERIFY(attached);
    QVERIFY(started);
    QCOMPARE(status, DWORD(2));
    const QString shown = QString::fromWCharArray(cells, int(read));
    QVERIFY2(shown.contains(QStringLiteral("unknown option: --caf\u00e9-\u03a9")), qPrintable(shown.simplified()));
#endif
}

// A compiler that lacks a DLL or crashes must not wait for a user to click
// a box of the system's away: it inherits the error mode that has none. The
// program itself starts with the system's default mode, not the test's.
void TestScriptedRun::compilerWaitsOnNoSystemBox()
{
#ifndef Q_OS_WIN
    QSKIP("Only Windows holds a failing program up on a message box");
#else
    QVERIFY(QFile::copy(testProgram("tavo_echo_child"), m_root.filePath("bin/echo.exe")));
    const QString report = m_root.filePath("echo.txt");
    QProcessEnvironment env = environment();
    env.insert("TAVO_ECHO_OUT", QDir::toNativeSeparators(report));
    // The error mode the echo child reports, started by program; with
    // ownMode, program starts with the mode of this test rather than the
    // system's default.
    const auto childMode = [&](const QString &program, const QStringList &arguments, bool ownMode) {
        QFile::remove(report);
        QProcess p;
        p.setProcessEnvironment(env);
        if (!ownMode)
            p.setCreateProcessArgumentsModifier(
                [](QProcess::CreateProcessArguments *a) { a->flags |= CREATE_DEFAULT_ERROR_MODE; });
        p.start(program, arguments);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return QString("<no run>");
        return readLines(report).filter(QRegularExpression("^errormode=")).value(0).mid(10);
    };
    const UINT wanted = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX;
    const UINT ours = SetErrorMode(wanted);
    const QString handedOn = childMode(m_root.filePath("bin/echo.exe"), {}, true);
    SetErrorMode(ours);
    if ((handedOn.toUInt() & wanted) != wanted)
        QSKIP("this system hands no error mode on to a child (Wine keeps it per process)");

    layFiles(xmlSettings("", "..\\bin\\echo"), workspaceWith(1));
    const QString mode = childMode(m_program, {"--compile"}, false);
    bool reported = false;
    const UINT got = mode.toUInt(&reported);
    QVERIFY2(reported, qPrintable(mode));
    QCOMPARE(got & wanted, wanted);
#endif
}

// The demo kit that scripts/demo lays, with the JDK's javac and java: --check
// finds nothing that stops a launch, so 0 and no problem; every package but
// net\tcp compiles with javac, net\tcp with javac's one error; with a
// compiler that is not there, a problem line for it and 1. The check
// writes nothing into the kit.
void TestScriptedRun::checkTheDemoKit()
{
#ifdef Q_OS_WIN
    QSKIP("the demo kit is laid by a shell script on Linux");
#else
    QTemporaryDir demo;
    QProcess make;
    make.start(QStringLiteral(TAVO_SOURCE_DIR "/demo/make-kit"), {demo.path(), QStringLiteral(TAVO_PROGRAM)});
    QVERIFY(make.waitForFinished(60000));
    QVERIFY2(make.exitCode() == 0, make.readAllStandardError().constData());
    const QString program = demo.filePath("starter/TAVO_Starter");
    const auto start = [&](const QStringList &arguments, QByteArray &out) {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, arguments);
        if (!p.waitForFinished(60000))
            return -1;
        out = p.readAllStandardOutput();
        return p.exitCode();
    };
    const Snapshot before = snapshot(demo.path(), program);
    QByteArray out;
    QCOMPARE(start({"--check"}, out), 0);
    QVERIFY2(!out.contains("problem\t") && !out.contains("warning\t"), out.constData());
    QVERIFY(out.contains("fine\tCompiler\t" + QFile::encodeName(realTool("javac")) + "\tThe compiler is there.\n"));
    QCOMPARE(snapshot(demo.path(), program), before);

    for (const char *package : {"hmi", "mypkg", "mypkg\\util"}) {
        QCOMPARE(start({"--compile", "--package", package}, out), 0);
        QVERIFY2(!out.contains("error") && !out.contains("warning"), out.constData());
    }
    QCOMPARE(start({"--compile", "--package", "net\\tcp"}, out), 1);
    QCOMPARE(out.count(": error: "), 1);
    QVERIFY2(out.contains("../lib/fb/rt/net/tcp/Broken.java:6: error: cannot find symbol\n") && out.endsWith("\n1 error\n"),
             out.constData());
    QVERIFY(QFile::exists(demo.filePath("starter/lib/fb/rt/mypkg/util/Text.class")));

    core::Settings gone;
    gone.setValue(core::kCompiler, "..\\bin\\javac");
    QFile ini(demo.filePath("starter/TAVO_Starter.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(core::settingsDocument(gone));
    ini.close();
    QCOMPARE(start({"--check"}, out), 1);
    QVERIFY2(out.contains("problem\tCompiler\t" + QFile::encodeName(demo.filePath("bin/javac"))
                          + "\tNo compiler there: Compile cannot start it.\n"),
             out.constData());
#endif
}

QTEST_MAIN(TestScriptedRun)
#include "tst_scripted_run.moc"
