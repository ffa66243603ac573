// Times ScanSourceTree on a generated tree of 100,000 directories and
// 100,000 files against a bare walk of the same tree, in the same run, and
// prints how much the scan costs on top of the walk.
#include "core/SourceScan.h"
#include "ui/dlgEditSrc.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>
#include <string>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int kDirectories = 100000;
constexpr int kFiles = 100000;
constexpr int kFanOut = 8;

QString g_appPath;
std::string g_nativeSrc;

// Breadth-first, kFanOut children per directory, one file in each.
bool generateTree(const QString &srcNative)
{
    if (!QDir().mkpath(srcNative))
        return false;
    std::deque<std::string> parents{QFile::encodeName(srcNative).toStdString()};
    int made = 0;
    int files = 0;
    while (made < kDirectories && !parents.empty()) {
        const std::string parent = parents.front();
        parents.pop_front();
        for (int i = 0; i < kFanOut && made < kDirectories; ++i, ++made) {
            const std::string dir = parent + "/pkg" + std::to_string(made);
            std::error_code ec;
            if (!std::filesystem::create_directory(dir, ec))
                return false;
            parents.push_back(dir);
            if (files < kFiles) {
                std::FILE *f = std::fopen((dir + "/Block" + std::to_string(files) + ".fbt").c_str(), "w");
                if (!f)
                    return false;
                std::fclose(f);
                ++files;
            }
        }
    }
    return made == kDirectories && files == kFiles;
}

#ifndef Q_OS_WIN
// The least a walk can do: readdir, the entry type it hands out, fstatat
// only where it does not say.
long walkReaddir(int parentFd, const char *name)
{
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    std::vector<std::string> subdirs;
    while (const dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            isDir = ::fstatat(fd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isDir)
            subdirs.emplace_back(e->d_name);
    }
    long count = 0;
    for (const std::string &s : subdirs)
        count += 1 + walkReaddir(fd, s.c_str());
    ::closedir(dir);
    return count;
}
#endif

long walkFilesystem(const std::string &root)
{
    long count = 0;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec))
            ++count;
    }
    return count;
}

void BM_BareWalk_readdir(benchmark::State &state)
{
#ifdef Q_OS_WIN
    state.SkipWithError("POSIX only");
#else
    for (auto _ : state) {
        const long n = walkReaddir(AT_FDCWD, g_nativeSrc.c_str());
        if (n != kDirectories)
            state.SkipWithError("walk count");
        benchmark::DoNotOptimize(n);
    }
#endif
}

void BM_BareWalk_filesystem(benchmark::State &state)
{
    for (auto _ : state) {
        const long n = walkFilesystem(g_nativeSrc);
        if (n != kDirectories)
            state.SkipWithError("walk count");
        benchmark::DoNotOptimize(n);
    }
}

void BM_ScanSourceTree(benchmark::State &state)
{
    const QString srcRoot = g_appPath + QStringLiteral("\\src");
    for (auto _ : state) {
        QStringList out;
        out.reserve(kDirectories);
        core::StringListSink sink(out);
        // The yield the dialog uses, so its pacing is part of the cost.
        const core::ScanResult r =
            core::ScanSourceTree(srcRoot, sink, [](int) { QCoreApplication::processEvents(); return true; });
        if (!r.rootListed || out.size() != kDirectories)
            state.SkipWithError("scan count");
        benchmark::DoNotOptimize(out);
    }
}

// For scale: the whole load step of the dialog, check list included.
void BM_DialogLoad(benchmark::State &state)
{
    for (auto _ : state) {
        dlgEditSrc dialog{core::Kit(g_appPath)};
        dialog.setTarget(core::Workspace{});
        if (!dialog.Form_Load([](int) { QCoreApplication::processEvents(); return true; }))
            state.SkipWithError("load");
        benchmark::DoNotOptimize(dialog.lstsrcpath->count());
    }
}

BENCHMARK(BM_BareWalk_readdir)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareWalk_filesystem)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ScanSourceTree)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DialogLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

// Keeps each benchmark's real time per iteration for the ratio.
class RecordingReporter : public benchmark::ConsoleReporter
{
public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.iterations > 0) {
                times[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations);
                cpuTimes[run.run_name.function_name] = run.cpu_accumulated_time / double(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
    std::map<std::string, double> cpuTimes;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir kit(QDir::tempPath() + QStringLiteral("/tavo-scan-bench-XXXXXX"));
    if (!kit.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    g_appPath = QDir::toNativeSeparators(kit.path());
    const QString srcNative = kit.path() + QStringLiteral("/src");
    g_nativeSrc = QFile::encodeName(srcNative).toStdString();
    std::printf("generating %d directories and %d files under %s ...\n", kDirectories, kFiles,
                qPrintable(srcNative));
    std::fflush(stdout);
    if (!generateTree(srcNative)) {
        std::fprintf(stderr, "cannot generate the tree\n");
        return 1;
    }

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // The machine may be shared: CPU time is shown beside wall time.
    const auto ratio = [](const std::map<std::string, double> &t, const char *label) {
        const auto get = [&](const char *name) {
            const auto it = t.find(name);
            return it == t.end() ? -1.0 : it->second;
        };
        double walk = -1;
        const char *walkName = "";
        for (const char *name : {"BM_BareWalk_readdir", "BM_BareWalk_filesystem"}) {
            const double v = get(name);
            if (v > 0 && (walk < 0 || v < walk)) {
                walk = v;
                walkName = name;
            }
        }
        const double scan = get("BM_ScanSourceTree");
        if (walk > 0 && scan > 0)
            std::printf("%s: ScanSourceTree %.0f ms / %s %.0f ms = %.2f (target: within 1.05)\n", label,
                        scan * 1000, walkName, walk * 1000, scan / walk);
    };
    ratio(reporter.times, "wall");
    ratio(reporter.cpuTimes, "cpu ");

    std::printf("removing the tree ...\n");
    std::fflush(stdout);
    kit.remove();
    benchmark::Shutdown();
    return 0;
}
