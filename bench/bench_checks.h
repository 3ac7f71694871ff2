// What a group of rows found wrong while measuring: each finding is printed
// at once, and the run fails at its end.
#ifndef BENCH_CHECKS_H
#define BENCH_CHECKS_H

#include <QString>

class BenchChecks {
public:
    // Prints `what` and marks the rows failed unless `condition` holds.
    void check(bool condition, const QString& what);
    bool failed() const { return m_failed; }

private:
    bool m_failed = false;
};

#endif
