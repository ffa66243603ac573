// Compile with a long output: the compiler's own time when its output goes
// to a file and nothing follows it, against its time when the Compile
// window follows that file; how long a key or a click waits meanwhile; and
// how much the program's memory grows. The compiler is bench_compiler (a
// million lines of about 100 bytes by default: LINES), in a kit of its own;
// RUNS (default 5) runs of each, alternating; medians are compared. The
// compiler's processor time is shown beside its wall time: on a machine
// whose cores are busy with other work, the wall time also tells how often
// the compiler waited for a core.
#include "core/Settings.h"
#include "core/SettingsFile.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "ui/frmCompile.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

long rssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The compiler's wall time and processor time, as it wrote them.
struct Times {
    double wall = -1;
    double cpu = -1;
};

Times readTimes(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> words = f.readAll().simplified().split(' ');
    return {words.value(0).toDouble(), words.value(1).toDouble()};
}

// Measures how long posted keys and clicks wait before they are handled.
class Latency : public QObject
{
public:
    std::vector<double> waits;
    QElapsedTimer clock;
    qint64 postedAt = -1;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool ours = (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F24)
            || (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton);
        if (ours && postedAt >= 0) {
            waits.push_back(double(clock.nsecsElapsed() - postedAt) / 1e6);
            postedAt = -1;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 5;
    const QString compiler = QCoreApplication::applicationDirPath() + QStringLiteral("/bench_compiler");
    QTemporaryDir root;
    const QString kit = root.filePath(QStringLiteral("kit"));
    QDir().mkpath(kit + QStringLiteral("/src/bench"));
    QDir().mkpath(kit + QStringLiteral("/lib/fb/rt/bench"));
    core::Settings settings;
    settings.setValue(core::kCompiler, compiler);
    platform::writeFileWhole(kit + QStringLiteral("/TAVO_Starter.ini"), core::settingsDocument(settings));
    const QString timeFile = root.filePath(QStringLiteral("time"));
    qputenv("BENCH_TIME_FILE", QFile::encodeName(timeFile));

    const QString store = root.filePath(QStringLiteral("placement.ini"));
    frmMain w(kit, [store] { return std::make_unique<QSettings>(store, QSettings::IniFormat); });
    w.show();
    w.setWorkspace(core::Workspace{{QStringLiteral("bench")}, 0, QString()});
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        app.processEvents();
    const long rssBefore = rssKiB();
    long rssPeak = rssBefore;

    std::vector<double> toFile, withWindow, toFileCpu, withWindowCpu, followed;
    Latency latency;
    latency.clock.start();
    for (int run = 0; run < runs; ++run) {
        // The same line, its output to a file that nothing follows.
        QFile::remove(timeFile);
        platform::changeDirectory(kit);
        platform::OutputFile made;
        const QString line = compiler + QStringLiteral(" -Xstdout -classpath x ..\\lib\\fb\\rt\\bench\\*.java");
        std::unique_ptr<platform::RunningProcess> plain =
            platform::startWithOutputFile(line, root.filePath(QStringLiteral("plain.log")), made);
        while (plain && !plain->poll())
            QThread::msleep(10);
        const Times plainTimes = readTimes(timeFile);
        toFile.push_back(plainTimes.wall);
        toFileCpu.push_back(plainTimes.cpu);

        // Compile, the window following; keys and clicks posted meanwhile.
        QFile::remove(timeFile);
        QElapsedTimer compile;
        compile.start();
        w.cmdCompile->click();
        auto *window = w.findChild<frmCompile *>();
        window->lstOutput->installEventFilter(&latency);
        w.lstsrcpath->viewport()->installEventFilter(&latency);
        QTimer poster;
        bool key = true;
        QObject::connect(&poster, &QTimer::timeout, [&] {
            if (latency.postedAt >= 0)
                return;
            latency.postedAt = latency.clock.nsecsElapsed();
            if (key)
                QCoreApplication::postEvent(window->lstOutput, new QKeyEvent(QEvent::KeyPress, Qt::Key_F24, Qt::NoModifier));
            else
                QCoreApplication::postEvent(w.lstsrcpath->viewport(),
                                            new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                                            Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier));
            key = !key;
            rssPeak = std::max(rssPeak, rssKiB());
        });
        poster.start(30);
        while (window->isRunning())
            app.processEvents(QEventLoop::WaitForMoreEvents, 50);
        followed.push_back(double(compile.elapsed()));
        poster.stop();
        latency.postedAt = -1;
        rssPeak = std::max(rssPeak, rssKiB());
        const Times windowTimes = readTimes(timeFile);
        withWindow.push_back(windowTimes.wall);
        withWindowCpu.push_back(windowTimes.cpu);
        std::printf("run %d: to a file %.0f ms, window open %.0f ms, end line after %.0f ms; shown %lld lines, %d errors\n",
                    run + 1, toFile.back(), withWindow.back(), followed.back(),
                    qlonglong(window->shownLines().size()), window->output().errors());
    }
    std::sort(latency.waits.begin(), latency.waits.end());
    const double worst = latency.waits.empty() ? 0 : latency.waits.back();
    const double p99 = latency.waits.empty() ? 0 : latency.waits[size_t(double(latency.waits.size() - 1) * 0.99)];
    const double ratio = median(withWindow) / median(toFile);
    const double cpuRatio = median(withWindowCpu) / median(toFileCpu);
    std::printf("compiler time, median: to a file %.0f ms, window open %.0f ms: %+.1f %% (target within 5 %%: %s)\n",
                median(toFile), median(withWindow), (ratio - 1) * 100, ratio <= 1.05 ? "met" : "MISSED");
    std::printf("compiler processor time, median: to a file %.0f ms, window open %.0f ms: %+.1f %%\n",
                median(toFileCpu), median(withWindowCpu), (cpuRatio - 1) * 100);
    std::printf("the window read all of it and showed the end line %.0f ms after Compile (median)\n", median(followed));
    std::printf("keys and clicks: %zu, median wait %.1f ms, 99th percentile %.1f ms, longest %.1f ms (target 100 ms: %s)\n",
                latency.waits.size(), median(latency.waits), p99, worst, worst <= 100 ? "met" : "MISSED");
    std::printf("memory: %ld KiB before, %ld KiB at most: grew %.1f MB (target 50 MB: %s)\n", rssBefore, rssPeak,
                double(rssPeak - rssBefore) / 1024, rssPeak - rssBefore <= 50 * 1024 ? "met" : "MISSED");
    return 0;
}
