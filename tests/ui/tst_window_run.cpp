// The built program itself, with its window, in a kit of its own: started
// on the offscreen platform and ended through File > Exit by a plugin of the
// tests' own. Built with the sanitizers, this is the run that sees faults of
// the real start and exit (delete-on-close, the event loop's last events).
#include "support/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestWindowRun : public QObject
{
    Q_OBJECT

private slots:
    void startAndExitThroughTheMenu();
};

void TestWindowRun::startAndExitThroughTheMenu()
{
    QTemporaryDir kit(scratchDirTemplate());
    QTemporaryDir home(scratchDirTemplate());
    QVERIFY(kit.isValid() && home.isValid());
    const QString program = kit.filePath(QStringLiteral("TAVO_Starter"));
    QVERIFY(QFile::copy(QStringLiteral(TAVO_PROGRAM), program));
    QVERIFY(QDir(kit.path()).mkpath(QStringLiteral("src/mypkg")));
    // LF line ends: the save at exit writes CR LF, so a rewrite shows.
    {
        QFile dat(kit.filePath(QStringLiteral("TAVO_Starter.dat")));
        QVERIFY(dat.open(QIODevice::WriteOnly));
        dat.write("hmi\nmypkg\n\n\nmypkg\nMyFB.fbt\n");
    }

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(TAVO_TEST_PLUGINS));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("tavo_exit"));
    // The window placement goes to a home of the test's own.
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    run.start(program, {});
    QVERIFY(run.waitForFinished(60000));
    const QByteArray errors = run.readAllStandardError();
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, errors.constData());

    QFile dat(kit.filePath(QStringLiteral("TAVO_Starter.dat")));
    QVERIFY(dat.open(QIODevice::ReadOnly));
    QCOMPARE(dat.readAll(), QByteArray("hmi\r\nmypkg\r\n\r\n\r\nmypkg\r\nMyFB.fbt\r\n"));
    QVERIFY(QFile::exists(home.filePath(QStringLiteral("TAVO_Starter/TAVO_Starter.conf"))));
}

QTEST_GUILESS_MAIN(TestWindowRun)
#include "tst_window_run.moc"
