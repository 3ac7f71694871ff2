// When each trigger of a paced run is due, in seconds from the first trigger:
// at a fixed rate, or at the files' recorded offsets from the first file.
#ifndef PACE_SCHEDULE_H
#define PACE_SCHEDULE_H

#include "pace_rule.h"

#include <QStringList>
#include <QVector>

class PaceSchedule {
public:
    // A trigger that begins later than this after its time is late: the
    // trigger timer waits whole milliseconds, rounded up, and fires within
    // one more.
    static constexpr double lateAfterSeconds = 0.002;

    // Unpaced: every trigger as soon as the one before it has returned.
    PaceSchedule() = default;
    explicit PaceSchedule(double triggersPerSecond);
    // The recorded offsets divided by speed. A file whose time goes back,
    // jumps ahead by more than ten typical intervals (and a second), or is
    // missing, plays right after the file before it; the file after it keeps
    // its own interval.
    PaceSchedule(const QVector<RecordedTime>& times, double speed);

    bool paced() const { return m_interval > 0.0 || !m_offsets.isEmpty(); }
    // trigger counts from 0. Past the last file the files' offsets start
    // again, one typical interval after the last.
    double dueSeconds(int trigger) const;
    // The timer's wait for that trigger, at elapsedSeconds on the schedule's
    // clock: whole milliseconds, rounded up, 0 when it is due.
    int waitMilliseconds(int trigger, double elapsedSeconds) const;
    // One line for each kind of irregular time, naming the first file of that
    // kind and counting the others.
    const QStringList& irregularities() const { return m_irregularities; }

private:
    double m_interval = 0.0;  // at a fixed rate
    QVector<double> m_offsets;
    double m_period = 0.0;  // from the first file of one pass to the first of the next
    QStringList m_irregularities;
};

#endif
