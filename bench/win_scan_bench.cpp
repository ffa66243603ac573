// Windows: times ScanSourceTree on a generated tree against a bare
// FindFirstFileExW / FindNextFileW walk of the same tree (the listing calls
// the scan makes, without its bookkeeping), alternating, in one
// run, and prints the medians and their ratio.
//   win_scan_bench [DIRECTORIES] [RUNS]
#include "core/SourceScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr int kFanOut = 8;

// Breadth-first, kFanOut children per directory, one file in each.
bool generateTree(const std::wstring &root, int directories)
{
    if (!CreateDirectoryW(root.c_str(), nullptr))
        return false;
    std::deque<std::wstring> parents{root};
    int made = 0;
    while (made < directories && !parents.empty()) {
        const std::wstring parent = parents.front();
        parents.pop_front();
        for (int i = 0; i < kFanOut && made < directories; ++i, ++made) {
            const std::wstring dir = parent + L"\\pkg" + std::to_wstring(made);
            if (!CreateDirectoryW(dir.c_str(), nullptr))
                return false;
            parents.push_back(dir);
            const std::wstring file = dir + L"\\Block" + std::to_wstring(made) + L".fbt";
            HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE)
                return false;
            CloseHandle(h);
        }
    }
    return made == directories;
}

// The least a walk can do: one listing per directory, the attributes it
// hands out, hidden and system entries passed over.
long bareWalk(const std::wstring &dir)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((dir + L"\\*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    std::vector<std::wstring> subdirs;
    do {
        const DWORD a = data.dwFileAttributes;
        if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            && wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            subdirs.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    long count = 0;
    for (const std::wstring &name : subdirs)
        count += 1 + bareWalk(dir + L"\\" + name);
    return count;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int directories = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;

    QTemporaryDir kit;
    const QString srcDir = QDir::toNativeSeparators(kit.path()) + QStringLiteral("\\src");
    if (!kit.isValid() || !generateTree(srcDir.toStdWString(), directories)) {
        std::fprintf(stderr, "could not lay the tree\n");
        return 1;
    }

    std::vector<double> scanMs, walkMs;
    long scanned = 0, walked = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        walked = bareWalk(srcDir.toStdWString());
        walkMs.push_back(timer.nsecsElapsed() / 1e6);

        QStringList entries;
        core::StringListSink sink(entries);
        timer.restart();
        core::ScanSourceTree(srcDir, sink);
        scanMs.push_back(timer.nsecsElapsed() / 1e6);
        scanned = entries.size();
    }
    const double scan = median(scanMs), walk = median(walkMs);
    std::printf("directories %d, runs %d: scan %.1f ms (%ld entries), bare walk %.1f ms (%ld), ratio %.2f\n",
                directories, runs, scan, scanned, walk, walked, scan / walk);
    return scanned == walked && scanned == directories ? 0 : 2;
}
