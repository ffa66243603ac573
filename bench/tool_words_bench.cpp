// Times what a start and the kit check search on this system: the words a
// compiler is started with for a package of 10,000 Java files (on Linux the
// source pattern expanded to them, on Windows the one line the Java launcher
// expands itself), and the Java installations the machine has. RUNS (default
// 21) runs of each; prints the median and the slowest in milliseconds.
#include "core/CommandLines.h"
#include "platform/JavaInstallations.h"
#include "platform/ToolLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kFiles = 10000;

void report(const char *what, int runs, const std::function<int()> &run)
{
    QList<double> times;
    int size = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        size = run();
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-46s %6d   median %8.2f ms   slowest %8.2f ms\n", what, size, times[times.size() / 2], times.last());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = std::max(1, qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 21);
    QTemporaryDir root;
    const QString package = root.filePath(QStringLiteral("lib/fb/rt/big"));
    if (!root.isValid() || !QDir().mkpath(package) || !QDir(root.path()).mkdir(QStringLiteral("kit")))
        return 1;
    for (int i = 0; i < kFiles; ++i) {
        QFile f(package + QStringLiteral("/Block%1.java").arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly))
            return 1;
    }
    core::Settings settings;
    settings.setValue(core::kCompiler, QStringLiteral("javac"));
    const core::Workspace workspace{{QStringLiteral("big")}, 0, {}};
    const QString kit = QDir::toNativeSeparators(root.filePath(QStringLiteral("kit")));

    std::printf("%-46s %6s\n", "", "words");
    report("compiler's words, 10,000-file package", runs, [&] {
        return int(platform::systemCommand(core::compileStartWords(settings, workspace), kit).arguments.size());
    });
    std::printf("%-46s %6s\n", "", "found");
    report("Java installations", runs, [] { return int(platform::findJavaInstallations().size()); });
    return 0;
}
