// The benchmark's output: one markdown table of medians and ratios.
#ifndef RESULTS_TABLE_H
#define RESULTS_TABLE_H

#include <QString>
#include <QVector>

#include <limits>

class ResultsTable {
public:
    enum class Unit { Seconds, Bytes, None };
    // The target of a row shown for comparison only.
    static constexpr double noTarget = std::numeric_limits<double>::quiet_NaN();

    void add(const QString& row, const QString& measured, double subject, double floor, Unit unit,
             double ratio, double target);
    void print() const;
    // True when every ratio is within its target (rows without one are).
    bool allWithinTargets() const;

private:
    struct Line {
        QString row;
        QString measured;
        QString subject;
        QString floor;
        double ratio;
        double target;
    };
    QVector<Line> m_lines;
};

#endif
