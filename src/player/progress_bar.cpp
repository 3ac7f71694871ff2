#include "progress_bar.h"

#include <QByteArray>

#include <cstdio>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

constexpr int maximumBarWidth = 40;
constexpr int minimumBarWidth = 5;
constexpr int assumedColumns = 80;
constexpr qint64 redrawMilliseconds = 40;

// The width of the terminal behind stderr, asked at each draw so that a resize is followed.
int terminalColumns()
{
#if defined(Q_OS_WIN)
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size{};
    if (ioctl(fileno(stderr), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return assumedColumns;
}

}  // namespace

bool stderrIsTerminal()
{
#if defined(Q_OS_WIN)
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
    if (m_drawnLength > 0 && done < m_total && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < redrawMilliseconds)
        return;
    draw();
}

void ProgressBar::clear()
{
    if (!m_active || m_drawnLength == 0)
        return;
    std::fprintf(stderr, "\r%*s\r", m_drawnLength, "");
    std::fflush(stderr);
    m_drawnLength = 0;
}

void ProgressBar::draw()
{
    if (!m_active)
        return;
    const int done = qMin(m_done, m_total);
    // The last column is left free: writing there makes some terminals wrap.
    const int columns = terminalColumns() - 1;
    QByteArray line = QByteArray::number(done) + '/' + QByteArray::number(m_total);
    const int barWidth = qMin(maximumBarWidth, columns - line.size() - 3);
    if (barWidth >= minimumBarWidth) {
        const int filled = int(qint64(done) * barWidth / m_total);
        line = '[' + QByteArray(filled, '#') + QByteArray(barWidth - filled, '.') + "] " + line;
    }
    line.truncate(qMax(0, columns));
    std::fprintf(stderr, "\r%s", line.constData());
    std::fflush(stderr);
    m_drawnLength = line.size();
    m_sinceDraw.start();
}

void ProgressBar::close()
{
    clear();
    m_active = false;
}
