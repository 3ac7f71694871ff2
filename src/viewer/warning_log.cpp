#include "warning_log.h"

namespace {

// The innermost call into the camera on this thread: a warning is logged on
// the thread of the call that caused it.
thread_local const WarningLog::ModuleCall* currentCall = nullptr;

}  // namespace

WarningLog::WarningLog(QObject* parent) : QObject(parent)
{
    m_relay.setWarningListener([this](const QString& message) {
        if (m_moduleCalls.load() == 0)
            return;
        ++m_warnings;
        emit warned(currentCall ? currentCall->origin() : QString(), message);
    });
}

WarningLog::ModuleCall::ModuleCall(WarningLog& log, const QString& origin)
    : m_log(log), m_origin(origin), m_outer(currentCall)
{
    ++m_log.m_moduleCalls;
    currentCall = this;
}

WarningLog::ModuleCall::~ModuleCall()
{
    currentCall = m_outer;
    --m_log.m_moduleCalls;
}
