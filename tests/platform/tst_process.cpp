#include "platform/Process.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A tool that writes its working directory and arguments, one a line, then
// waits for a "go" file before it says it is done.
bool writeTool(const QString &path, const QString &record)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("#!/bin/sh\n"
            "rec='" + record.toUtf8() + "'\n"
            "{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$rec.tmp\" && mv \"$rec.tmp\" \"$rec\"\n"
            "i=0; while [ ! -e \"$rec.go\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
            "touch \"$rec.done\"\n");
    f.close();
    return f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool writeScript(const QString &path, const QByteArray &body)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write("#!/bin/sh\n" + body) < 0)
        return false;
    f.close();
    return f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Asks until the process has ended; nothing when it runs on past the time.
std::optional<platform::ProcessEnd> endOf(platform::RunningProcess &process, int timeoutMs = 10000)
{
    std::optional<platform::ProcessEnd> end;
    return QTest::qWaitFor([&] { return bool(end = process.poll()); }, timeoutMs) ? end : std::nullopt;
}

struct CurrentDirectoryGuard {
    QString saved = QDir::currentPath();
    ~CurrentDirectoryGuard() { QDir::setCurrent(saved); }
};

} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private slots:
    void startsDetachedWithMappedProgram();
    void refusesWhatCannotStart();
    void outputGoesToTheFileInOrder();
    void previousOutputStaysUntilAStart();
    void whatItStartsIsFollowed();
    void systemsOwnWords();
};

void TestProcess::startsDetachedWithMappedProgram()
{
    CurrentDirectoryGuard guard;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("kit/bin"));
    QVERIFY(QDir(dir.path()).mkpath("kit/src"));
    const QString record = dir.filePath("record");
    QVERIFY(writeTool(dir.filePath("kit/bin/tool"), record));
    QVERIFY(QDir::setCurrent(dir.filePath("kit/src")));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(platform::startCommandLine("..\\bin\\tool -cp ..\\lib;x.jar \"a b\" %1 > .\\compile.log "));
    // The tool is still waiting for "go": the start did not wait for it.
    QVERIFY(!QFile::exists(record + ".done"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QVERIFY(!QFile::exists(record + ".done"));
    QVERIFY(timer.elapsed() < 9000);

    const QString cwd = QFileInfo(dir.filePath("kit/src")).canonicalFilePath();
    QCOMPARE(readLines(record),
             QStringList({cwd, "-cp", "..\\lib;x.jar", "a b", "%1", ">", ".\\compile.log"}));
    // No shell ran: the redirection made no file.
    QVERIFY(!QFile::exists(dir.filePath("kit/src/compile.log")));
    QVERIFY(!QFile::exists(dir.filePath("kit/src/.\\compile.log")));

    QFile go(record + ".go");
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.close();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record + ".done"), 10000);
}

void TestProcess::refusesWhatCannotStart()
{
    CurrentDirectoryGuard guard;
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(!platform::startCommandLine(QString()));
    QVERIFY(!platform::startCommandLine("   "));
    QVERIFY(!platform::startCommandLine("\"\" a"));
    QVERIFY(!platform::startCommandLine("..\\bin\\missing -x"));
    QFile plain(dir.filePath("notes"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    QVERIFY(!platform::startCommandLine("notes a"));
    QVERIFY(!platform::startCommandLine(".\\notes a"));
}

// The tool writes the file itself, output and error in the order written,
// over what an earlier run left; the start does not wait for it.
void TestProcess::outputGoesToTheFileInOrder()
{
    CurrentDirectoryGuard guard;
    QTemporaryDir dir;
    QVERIFY(writeScript(dir.filePath("tool"), "pwd -P; echo out1; echo err1 >&2; echo out2; echo \"$1|$2\"\n"
                                              "while [ ! -e go ]; do sleep 0.05; done; exit 3\n"));
    QFile old(dir.filePath("compile.log"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(5000, 'x')) == 5000);
    old.close();
    QVERIFY(QDir::setCurrent(dir.path()));

    platform::OutputFile output;
    std::unique_ptr<platform::RunningProcess> tool =
        platform::startWithOutputFile(".\\tool \"a b\" %1", dir.path() + "\\compile.log", output);
    QVERIFY(output.made);
    QVERIFY(tool);
    QCOMPARE(output.path, dir.filePath("compile.log"));
    QVERIFY(!tool->poll());
    const QByteArray expected = QFileInfo(dir.path()).canonicalFilePath().toUtf8() + "\nout1\nerr1\nout2\na b|%1\n";
    QTRY_COMPARE_WITH_TIMEOUT(readFile(dir.filePath("compile.log")), expected, 10000);
    QVERIFY(!tool->poll());
    QFile go(dir.filePath("go"));
    QVERIFY(go.open(QIODevice::WriteOnly));
    const std::optional<platform::ProcessEnd> end = endOf(*tool);
    QVERIFY(end);
    QCOMPARE(int(end->kind), int(platform::ProcessEnd::Kind::Exited));
    QCOMPARE(end->code, 3u);
    QCOMPARE(readFile(dir.filePath("compile.log")), expected);
}

// The file is made anew only once the tool has started: where it cannot
// start, the previous output stays; where no file can be made, nothing
// starts; where the file cannot take the output's place, the output goes
// beside it.
void TestProcess::previousOutputStaysUntilAStart()
{
    CurrentDirectoryGuard guard;
    QTemporaryDir dir;
    QVERIFY(writeScript(dir.filePath("tool"), "echo ran; touch ran\n"));
    QFile previous(dir.filePath("compile.log"));
    QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("previous\n") == 9);
    previous.close();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);

    platform::OutputFile output;
    QVERIFY(!platform::startWithOutputFile(".\\missing", dir.filePath("compile.log"), output));
    QVERIFY(output.made);
    QCOMPARE(readFile(dir.filePath("compile.log")), QByteArray("previous\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);

    QVERIFY(!platform::startWithOutputFile(".\\tool", dir.filePath("none/compile.log"), output));
    QVERIFY(!output.made);
    QVERIFY(QDir(dir.path()).mkdir("folder.log"));
    std::unique_ptr<platform::RunningProcess> tool = platform::startWithOutputFile(".\\tool", dir.filePath("folder.log"), output);
    QVERIFY(tool && output.made);
    QVERIFY(output.path.startsWith(dir.filePath("folder.log.")));
    QVERIFY(endOf(*tool));
    QCOMPARE(readFile(output.path), QByteArray("ran\n"));
    QTest::qWait(100);
    QVERIFY(QFile::exists(dir.filePath("ran")));
}

// What the tool leaves running is followed to its end, in a process group
// of its own too (it is still in the session), and ended by stop() after
// the tool's own end; its output comes through the pipe in the meantime.
void TestProcess::whatItStartsIsFollowed()
{
    CurrentDirectoryGuard guard;
    QTemporaryDir dir;
    QVERIFY(writeScript(dir.filePath("tool"), "perl -e 'setpgrp(0, 0); sleep 30' &\n"
                                              "(sleep 1; echo late) &\n"
                                              "echo early; exit 4\n"));
    QVERIFY(QDir::setCurrent(dir.path()));
    std::unique_ptr<platform::RunningProcess> tool = platform::startWithOutputPipe(platform::plainCommand(".\\tool"));
    QVERIFY(tool);
    const std::optional<platform::ProcessEnd> end = endOf(*tool);
    QVERIFY(end);
    QCOMPARE(end->code, 4u);
    QByteArray output;
    QVERIFY(QTest::qWaitFor([&] { return (output += tool->readOutput(1024)).contains("late"); }, 10000));
    QCOMPARE(output, QByteArray("early\nlate\n"));
    QVERIFY(tool->anythingRunning());
    tool->stop();
    QVERIFY(QTest::qWaitFor([&] { return !tool->anythingRunning(); }, 5000));
}

// Each word as a tool here expects it: "/" between levels, ":" between class
// path pieces, a source pattern expanded in name order (left as written when
// nothing matches), the tool's own arguments as they are.
void TestProcess::systemsOwnWords()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("kit/src"));
    QVERIFY(QDir(dir.path()).mkpath("kit/lib/fb/rt/p"));
    for (const char *name : {"B.java", "a.java", "c.txt", ".hidden.java"}) {
        QFile f(dir.filePath(QStringLiteral("kit/lib/fb/rt/p/") + QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    using Kind = platform::ToolWord::Kind;
    const platform::ToolLine line{{Kind::Program, "..\\bin\\javac"},         {Kind::Option, "-classpath"},
                                  {Kind::ClassPath, "..\\lib;..\\my.jar;"},    {Kind::Path, "..\\lib\\fb\\rt\\p\\*.java"},
                                  {Kind::Path, "..\\lib\\fb\\rt\\none\\*.java"}, {Kind::Option, "-d"},
                                  {Kind::Path, "\"my classes\""},               {Kind::Argument, "Editor"},
                                  {Kind::Argument, "p\\q;a.b;"},               {Kind::Interpreter, "%1"}};
    const platform::SystemCommand command = platform::systemCommand(line, dir.path() + "\\kit\\src");
    QCOMPARE(command.program, QStringLiteral("../bin/javac"));
    QCOMPARE(command.arguments, (QStringList{"-classpath", "../lib:../my.jar:", "../lib/fb/rt/p/a.java",
                                             "../lib/fb/rt/p/B.java", "../lib/fb/rt/none/*.java", "-d", "my classes",
                                             "Editor", "p\\q;a.b;"}));
    QCOMPARE(command.line, QStringLiteral("../bin/javac -classpath ../lib:../my.jar: ../lib/fb/rt/p/a.java "
                                          "../lib/fb/rt/p/B.java '../lib/fb/rt/none/*.java' -d 'my classes' Editor "
                                          "'p\\q;a.b;'"));
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
