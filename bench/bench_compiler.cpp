// A compiler for the compile benchmark: prints LINES lines (1,000,000 by
// default) of about 100 bytes, every 10,000th a javac error, as fast as its
// output takes them, and writes how long that took it (milliseconds, from
// its start to its last byte) to the file BENCH_TIME_FILE names.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>

int main()
{
    const auto start = std::chrono::steady_clock::now();
    const char *count = std::getenv("LINES");
    const long lines = count ? std::atol(count) : 1000000;
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    for (long i = 1; i <= lines; ++i) {
        if (i % 10000 == 0)
            std::printf("..\\lib\\fb\\rt\\bench\\Block%06ld.java:%ld: error: cannot find symbol of the benchmark here\n", i / 10000, i);
        else
            std::printf("[%07ld] compiling ..\\lib\\fb\\rt\\bench\\Block%06ld.java: parsed, checked and written out\n", i, i % 977);
    }
    std::fflush(stdout);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rusage used{};
    getrusage(RUSAGE_SELF, &used);
    const double cpu = (used.ru_utime.tv_sec + used.ru_stime.tv_sec) * 1e3
        + (used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e3;
    if (const char *file = std::getenv("BENCH_TIME_FILE"))
        std::ofstream(file) << ms << ' ' << cpu << '\n';
    return 1;
}
