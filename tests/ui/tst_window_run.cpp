// The built program itself, with its window, in a kit of its own: started
// on the offscreen platform and ended through File > Exit by a plugin of the
// tests' own. Built with the sanitizers, this is the run that sees faults of
// the real start and exit (delete-on-close, the event loop's last events).
#include "support/TestFiles.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestWindowRun : public QObject
{
    Q_OBJECT

private slots:
    void startAndExitThroughTheMenu();
    void maximisedExitStoresTheMaximisedBounds();
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

// Closed while maximised, under a window manager on a 1280 x 1024 screen:
// the placement is the maximised window's bounds, the whole screen, and not
// the normal window's frame around it.
void TestWindowRun::maximisedExitStoresTheMaximisedBounds()
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    const QString xprop = QStandardPaths::findExecutable(QStringLiteral("xprop"));
    if (xvfbRun.isEmpty() || openbox.isEmpty() || xprop.isEmpty())
        QSKIP("needs xvfb-run, openbox and xprop (scripts/screenshots installs them)");
    QTemporaryDir kit(scratchDirTemplate());
    QTemporaryDir home(scratchDirTemplate());
    QVERIFY(kit.isValid() && home.isValid());
    const QString program = kit.filePath(QStringLiteral("TAVO_Starter"));
    QVERIFY(QFile::copy(QStringLiteral(TAVO_PROGRAM), program));

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(TAVO_TEST_PLUGINS));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("tavo_exit"));
    env.insert(QStringLiteral("TAVO_TEST_MAXIMISE"), QStringLiteral("1"));
    // The X keyboard library reads a name past its end with strndup, which
    // the sanitizers' strict string checks report; every other check stays.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":strict_string_checks=0"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    // The window manager takes the screen before the window is mapped, or
    // the window gets no frame.
    run.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                        QStringLiteral("sh"), QStringLiteral("-c"),
                        QStringLiteral("openbox >/dev/null 2>&1 & "
                                       "for i in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done; "
                                       "\"$0\"; status=$?; kill $!; exit $status"),
                        program});
    QVERIFY(run.waitForFinished(90000));
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, run.readAllStandardError().constData());

    QSettings stored(home.filePath(QStringLiteral("TAVO_Starter/TAVO_Starter.conf")), QSettings::IniFormat);
    stored.beginGroup(QStringLiteral("Settings"));
    QCOMPARE((QStringList{stored.value("MainLeft").toString(), stored.value("MainTop").toString(),
                          stored.value("MainWidth").toString(), stored.value("MainHeight").toString()}),
             (QStringList{"0", "0", "19200", "15360"}));
}

QTEST_GUILESS_MAIN(TestWindowRun)
#include "tst_window_run.moc"
