#include "bench_checks.h"

#include <cstdio>

void BenchChecks::check(bool condition, const QString& what)
{
    if (condition)
        return;
    std::fprintf(stderr, "kxcam_bench: %s\n", qPrintable(what));
    m_failed = true;
}
