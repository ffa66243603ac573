#pragma once
// A broken property ends the run at once, with the reason, so that libFuzzer
// saves the input as a crash.
#include <QString>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond, what)                                                      \
    do {                                                                            \
        if (!(cond)) {                                                              \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                           \
        }                                                                           \
    } while (0)

inline bool holdsLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}
