#include "progress_bar.h"

#include <QByteArray>
#include <QLocale>

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

ProgressBar::ProgressBar(bool enabled, int total, bool growing)
    : m_active(enabled && (total > 0 || growing)), m_total(total), m_growing(growing)
{
}

void ProgressBar::update(int done, int total)
{
    m_done = done;
    if (m_growing) {
        m_total = total;
        m_waiting = false;
    }
    if (!m_active)
        return;
    if (m_drawnLength > 0 && done < m_total && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < redrawMilliseconds)
        return;
    draw();
}

void ProgressBar::setWaiting(int total)
{
    const bool drawNow = !m_waiting || total != m_total;
    m_total = total;
    m_waiting = true;
    if (m_active && drawNow)
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
    const QLocale english(QLocale::English);
    QByteArray line = m_growing ? QStringLiteral("frame %1 of %2%3")
                                      .arg(english.toString(m_done), english.toString(m_total),
                                           QLatin1String(m_waiting ? ", waiting for files" : ""))
                                      .toUtf8()
                                : QByteArray::number(done) + '/' + QByteArray::number(m_total);
    const int barWidth = qMin(maximumBarWidth, columns - line.size() - 3);
    if (!m_growing && barWidth >= minimumBarWidth) {
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
