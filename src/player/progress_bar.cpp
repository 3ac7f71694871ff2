#include "progress_bar.h"

#include <QByteArray>

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

constexpr int barWidth = 40;
constexpr int lineWidth = barWidth + 30;
constexpr qint64 redrawMilliseconds = 40;

}  // namespace

bool stderrIsTerminal()
{
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

ProgressBar::ProgressBar(bool enabled, int total) : m_active(enabled && total > 0), m_total(total) {}

void ProgressBar::update(int done)
{
    m_done = done;
    if (!m_active)
        return;
    if (m_drawn && done < m_total && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < redrawMilliseconds)
        return;
    draw();
}

void ProgressBar::clear()
{
    if (!m_active || !m_drawn)
        return;
    std::fprintf(stderr, "\r%*s\r", lineWidth, "");
    std::fflush(stderr);
    m_drawn = false;
}

void ProgressBar::draw()
{
    if (!m_active)
        return;
    const int done = qMin(m_done, m_total);
    const int filled = int(qint64(done) * barWidth / m_total);
    const QByteArray bar = QByteArray(filled, '#') + QByteArray(barWidth - filled, '.');
    std::fprintf(stderr, "\r[%s] %d/%d", bar.constData(), done, m_total);
    std::fflush(stderr);
    m_drawn = true;
    m_sinceDraw.start();
}

void ProgressBar::close()
{
    clear();
    m_active = false;
}
