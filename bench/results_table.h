// The benchmark's output: one markdown table of medians and ratios.
#ifndef RESULTS_TABLE_H
#define RESULTS_TABLE_H

#include <QString>
#include <QVector>

class ResultsTable {
public:
    enum class Unit { Seconds, Bytes, None };

    void add(const QString& row, const QString& measured, double subject, double floor, Unit unit,
             double ratio, double target);
    void print() const;
    // True when every ratio is within its target.
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
