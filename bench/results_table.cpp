#include "results_table.h"

#include <cmath>
#include <cstdio>

namespace {

QString formatted(double value, ResultsTable::Unit unit)
{
    switch (unit) {
    case ResultsTable::Unit::Seconds:
        if (value < 1e-3)
            return QStringLiteral("%1 us").arg(value * 1e6, 0, 'f', 1);
        return QStringLiteral("%1 ms").arg(value * 1e3, 0, 'f', 3);
    case ResultsTable::Unit::Bytes:
        return QStringLiteral("%1 MB").arg(value / 1e6, 0, 'f', 2);
    case ResultsTable::Unit::None:
        break;
    }
    return QStringLiteral("%1").arg(value, 0, 'g', 4);
}

}  // namespace

void ResultsTable::add(const QString& row, const QString& measured, double subject, double floor, Unit unit,
                       double ratio, double target)
{
    m_lines.append({row, measured, formatted(subject, unit), formatted(floor, unit), ratio, target});
}

void ResultsTable::print() const
{
    std::printf("| Row | Measured | Module | Floor | Ratio | Target | Within |\n");
    std::printf("|---|---|---:|---:|---:|---:|---|\n");
    for (const Line& line : m_lines) {
        const bool hasTarget = !std::isnan(line.target);
        std::printf("| %s | %s | %s | %s | %.3f | %s | %s |\n", qPrintable(line.row), qPrintable(line.measured),
                    qPrintable(line.subject), qPrintable(line.floor), line.ratio,
                    hasTarget ? qPrintable(QString::number(line.target, 'f', 3)) : "-",
                    hasTarget ? (line.ratio <= line.target ? "yes" : "NO") : "-");
    }
    std::fflush(stdout);
}

bool ResultsTable::allWithinTargets() const
{
    for (const Line& line : m_lines) {
        if (line.ratio > line.target)
            return false;
    }
    return true;
}
