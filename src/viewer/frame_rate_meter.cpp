#include "frame_rate_meter.h"

namespace {

constexpr qint64 windowNanoseconds = 1000000000;

}  // namespace

FrameRateMeter::FrameRateMeter()
{
    m_clock.start();
}

void FrameRateMeter::reset()
{
    m_times.clear();
}

void FrameRateMeter::addFrame()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_times.enqueue(now);
    // The last delivery before the window stays, so frames slower than one a
    // second are measured by their interval.
    while (m_times.size() > 1 && now - m_times.at(1) >= windowNanoseconds)
        m_times.dequeue();
}

double FrameRateMeter::framesPerSecond() const
{
    if (m_times.size() < 2)
        return 0.0;
    const qint64 span = m_times.last() - m_times.head();
    return span > 0 ? double(m_times.size() - 1) * 1e9 / double(span) : 0.0;
}
