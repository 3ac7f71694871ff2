#include "pace_schedule.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double jumpIntervals = 10.0;
constexpr double leastJumpSeconds = 1.0;

// The files of one kind of irregular time: the first of them and how many.
struct Irregular {
    QString first;
    double bySeconds = 0.0;
    int count = 0;

    void add(const QString& file, double seconds)
    {
        if (count++ == 0) {
            first = file;
            bySeconds = seconds;
        }
    }
};

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0.0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

QString more(int count, const char* what)
{
    return count > 1 ? QStringLiteral(", and %1 more %2").arg(count - 1).arg(QLatin1String(what)) : QString();
}

}  // namespace

PaceSchedule::PaceSchedule(double triggersPerSecond) : m_interval(1.0 / triggersPerSecond) {}

PaceSchedule::PaceSchedule(const QVector<RecordedTime>& times, double speed)
{
    if (times.isEmpty())
        return;
    // Each file's interval from the last file before it that has a time.
    QVector<double> intervals(times.size(), std::nan(""));
    double last = times.first().seconds;
    for (int i = 1; i < times.size(); ++i) {
        if (std::isnan(times.at(i).seconds))
            continue;
        intervals[i] = times.at(i).seconds - last;
        last = times.at(i).seconds;
    }
    QVector<double> forward;
    std::copy_if(intervals.cbegin(), intervals.cend(), std::back_inserter(forward), [](double interval) { return interval >= 0.0; });
    const double typical = median(forward);
    const double jumpAbove = std::max(jumpIntervals * typical, leastJumpSeconds);

    Irregular missing, back, jump;
    m_offsets.reserve(times.size());
    m_offsets.append(0.0);
    if (std::isnan(times.first().seconds))
        missing.add(times.first().file, 0.0);
    for (int i = 1; i < times.size(); ++i) {
        const double interval = intervals.at(i);
        const QString& file = times.at(i).file;
        if (std::isnan(times.at(i).seconds))
            missing.add(file, 0.0);
        else if (interval < 0.0)
            back.add(file, -interval);
        else if (interval > jumpAbove)
            jump.add(file, interval);
        const bool regular = interval >= 0.0 && interval <= jumpAbove;  // false for NaN
        m_offsets.append(m_offsets.last() + (regular ? interval / speed : 0.0));
    }
    m_period = m_offsets.last() + typical / speed;

    const QString after = QStringLiteral("; each such file plays right after the file before it");
    if (missing.count > 0)
        m_irregularities.append(QStringLiteral("pace: %1 has no time%2%3").arg(missing.first, more(missing.count, "files have none"), after));
    if (back.count > 0)
        m_irregularities.append(QStringLiteral("pace: the time of %1 goes back by %2 s%3%4")
                                    .arg(back.first)
                                    .arg(back.bySeconds, 0, 'f', 3)
                                    .arg(more(back.count, "files' times go back"), after));
    if (jump.count > 0)
        m_irregularities.append(QStringLiteral("pace: the time of %1 jumps ahead by %2 s (more than %3 s)%4%5")
                                    .arg(jump.first)
                                    .arg(jump.bySeconds, 0, 'f', 3)
                                    .arg(jumpAbove, 0, 'f', 3)
                                    .arg(more(jump.count, "files' times jump ahead"), after));
}

double PaceSchedule::dueSeconds(int trigger) const
{
    if (m_interval > 0.0)
        return trigger * m_interval;
    if (m_offsets.isEmpty())
        return 0.0;
    const int files = m_offsets.size();
    return (trigger / files) * m_period + m_offsets.at(trigger % files);
}

int PaceSchedule::waitMilliseconds(int trigger, double elapsedSeconds) const
{
    const double wait = (dueSeconds(trigger) - elapsedSeconds) * 1000.0;
    return wait > 0.0 ? int(std::min(std::ceil(wait), double(INT_MAX))) : 0;
}
