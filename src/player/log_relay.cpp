#include "log_relay.h"

#include "progress_bar.h"

#include <cstdio>
#include <cstdlib>

namespace {

LogRelay* activeRelay = nullptr;

}  // namespace

LogRelay::LogRelay()
{
    activeRelay = this;
    m_previous = qInstallMessageHandler(&LogRelay::handle);
}

LogRelay::~LogRelay()
{
    qInstallMessageHandler(m_previous);
    activeRelay = nullptr;
}

void LogRelay::note(const QString& text)
{
    writeLine("kxcam-play: " + text.toLocal8Bit());
}

void LogRelay::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        ++activeRelay->m_warnings;
    // qFormatLogMessage honours QT_MESSAGE_PATTERN, as Qt's own handler does.
    activeRelay->writeLine(qFormatLogMessage(type, context, message).toLocal8Bit());
    if (type == QtFatalMsg)
        std::abort();
}

void LogRelay::writeLine(const QByteArray& line)
{
    if (m_bar)
        m_bar->clear();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    if (m_bar)
        m_bar->draw();
}
