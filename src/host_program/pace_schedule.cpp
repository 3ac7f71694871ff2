#include "pace_schedule.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double jumpIntervals = 10.0;
constexpr double leastJumpSeconds = 1.0;
// Enough intervals for a median that one odd gap does not move.
constexpr std::size_t typicalWindow = 63;

enum Irregular : int { Missing = 1, Back = 2, Jump = 4 };

const QString playsRightAfter = QStringLiteral("; each such file plays right after the file before it");

}  // namespace

PaceSchedule::PaceSchedule(double triggersPerSecond) : m_interval(1.0 / triggersPerSecond) {}

PaceSchedule PaceSchedule::fromRecordedTimes(double speed)
{
    PaceSchedule schedule;
    schedule.m_speed = speed;
    return schedule;
}

double PaceSchedule::nextDue(int position, const RecordedTime& time)
{
    if (m_interval > 0.0)
        return m_triggers++ * m_interval;
    const bool first = !m_started;
    m_started = true;
    if (position < 0 || (!first && position <= m_lastPosition)) {
        m_lastDue += typicalInterval() / m_speed;
        m_hasLastTime = false;
    }
    m_lastPosition = position;
    if (position < 0)
        return m_lastDue;
    if (!time.known) {
        note(Missing, QStringLiteral("pace: %1 has no time%2").arg(time.file, playsRightAfter));
        return m_lastDue;
    }
    const bool hadTime = m_hasLastTime;
    const double interval = double(time.nanoseconds - m_lastTime) / 1e9;
    m_lastTime = time.nanoseconds;
    m_hasLastTime = true;
    if (!hadTime)
        return m_lastDue;
    if (interval < 0.0) {
        note(Back, QStringLiteral("pace: the time of %1 goes back by %2 s%3")
                       .arg(time.file)
                       .arg(-interval, 0, 'f', 3)
                       .arg(playsRightAfter));
        return m_lastDue;
    }
    // Judged against the intervals before it; the first has none to go by.
    const double jumpAbove = std::max(jumpIntervals * typicalInterval(), leastJumpSeconds);
    const bool jump = !m_intervals.empty() && interval > jumpAbove;
    if (m_intervals.size() < typicalWindow)
        m_intervals.push_back(interval);
    else
        m_intervals[m_nextInterval++ % typicalWindow] = interval;
    if (jump) {
        note(Jump, QStringLiteral("pace: the time of %1 jumps ahead by %2 s (more than %3 s)%4")
                       .arg(time.file)
                       .arg(interval, 0, 'f', 3)
                       .arg(jumpAbove, 0, 'f', 3)
                       .arg(playsRightAfter));
        return m_lastDue;
    }
    m_lastDue += interval / m_speed;
    return m_lastDue;
}

QStringList PaceSchedule::takeNotes()
{
    QStringList notes;
    notes.swap(m_notes);
    return notes;
}

int PaceSchedule::waitMilliseconds(double dueSeconds, double elapsedSeconds)
{
    const double wait = (dueSeconds - elapsedSeconds) * 1000.0;
    return wait > 0.0 ? int(std::min(std::ceil(wait), double(INT_MAX))) : 0;
}

// The median of the forward intervals in the window; 0 before there is one.
double PaceSchedule::typicalInterval() const
{
    if (m_intervals.empty())
        return 0.0;
    std::vector<double> values = m_intervals;
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void PaceSchedule::note(int kind, const QString& text)
{
    if (m_told & unsigned(kind))
        return;
    m_told |= unsigned(kind);
    m_notes.append(text);
}
