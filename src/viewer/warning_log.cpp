#include "warning_log.h"

namespace {

WarningLog* activeLog = nullptr;

}  // namespace

WarningLog::WarningLog(QObject* parent) : QObject(parent)
{
    activeLog = this;
    m_previous = qInstallMessageHandler(&WarningLog::handle);
}

WarningLog::~WarningLog()
{
    qInstallMessageHandler(m_previous);
    activeLog = nullptr;
}

void WarningLog::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if ((type == QtWarningMsg || type == QtCriticalMsg) && activeLog->m_moduleCalls > 0) {
        ++activeLog->m_warnings;
        emit activeLog->warned(message);
    }
    activeLog->m_previous(type, context, message);
}
