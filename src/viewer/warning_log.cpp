#include "warning_log.h"

WarningLog::WarningLog(QObject* parent) : QObject(parent)
{
    m_relay.setWarningListener([this](const QString& message) {
        if (m_moduleCalls.load() == 0)
            return;
        ++m_warnings;
        emit warned(message);
    });
}
