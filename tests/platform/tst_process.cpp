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

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
