// When each trigger of a paced run is due, in seconds from the first: at a
// fixed rate (--fps), or at the recorded times of the files the camera takes
// (--pace), told one trigger at a time as the camera names each file. Both
// programs pace both through it.
#ifndef PACE_SCHEDULE_H
#define PACE_SCHEDULE_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

// A file's time as recorded, in nanoseconds from some moment of its rule's.
struct RecordedTime {
    QString file;  // relative to the folder
    bool known = false;
    qint64 nanoseconds = 0;
};

class PaceSchedule {
public:
    // A presentation that comes later than this after its time is late: the
    // timer waits whole milliseconds, rounded up, and fires within one more.
    static constexpr double lateAfterSeconds = 0.002;

    // Unpaced: every trigger as soon as the one before it has been presented.
    PaceSchedule() = default;
    explicit PaceSchedule(double triggersPerSecond);
    // At the files' recorded times, their offsets divided by speed.
    static PaceSchedule fromRecordedTimes(double speed);

    bool paced() const { return m_interval > 0.0 || m_speed > 0.0; }
    // The next trigger's due time; it took the file at `position` (from 0)
    // recorded at `time`, or no file when position is -1. A file whose time
    // goes back, jumps ahead by more than ten typical intervals (and a
    // second), or is missing, plays right after the file before it; the file
    // after it keeps its own interval. A file at or before the last one's
    // place begins a new pass, one typical interval after the last; so does a
    // trigger that took no file.
    double nextDue(int position, const RecordedTime& time);
    // One line for each kind of irregular time, the first time a file of that
    // kind is met; each is given once.
    QStringList takeNotes();

    // The timer's wait for a time due at dueSeconds, at elapsedSeconds on the
    // schedule's clock: whole milliseconds, rounded up, 0 when it is due.
    static int waitMilliseconds(double dueSeconds, double elapsedSeconds);

private:
    double typicalInterval() const;
    void note(int kind, const QString& text);

    double m_interval = 0.0;  // at a fixed rate
    int m_triggers = 0;
    double m_speed = 0.0;  // at the files' times
    double m_lastDue = 0.0;
    int m_lastPosition = -1;
    bool m_started = false;
    bool m_hasLastTime = false;
    qint64 m_lastTime = 0;
    // The latest forward intervals, seconds, a window that does not grow with the run.
    std::vector<double> m_intervals;
    std::size_t m_nextInterval = 0;
    unsigned m_told = 0;  // the kinds already noted, a bit each
    QStringList m_notes;
};

#endif
