#include "warning_log.h"

namespace {

// The innermost call into the camera on this thread: a warning is logged on
// the thread of the call that caused it.
thread_local WarningLog::ModuleCall* currentCall = nullptr;

}  // namespace

WarningLog::WarningLog(QObject* parent) : QObject(parent)
{
    m_relay.setWarningListener([this](const QString& message) {
        if (m_moduleCalls.load() == 0)
            return;
        ++m_warnings;
        emit warned(currentCall ? currentCall->origin() : QString(), message);
    });
    qRegisterMetaType<CameraEvent>();
    m_relay.setCameraListener([this](const CameraEvent& event) {
        if (currentCall && event.kind == CameraEvent::Kind::File)
            currentCall->m_file = event.path;
        emit cameraSaid(event);
    });
}

WarningLog::ModuleCall::ModuleCall(WarningLog& log, const QString& origin)
    : m_log(log), m_origin(origin), m_outer(currentCall)
{
    ++m_log.m_moduleCalls;
    currentCall = this;
}

QString WarningLog::ModuleCall::origin() const
{
    return m_file.isEmpty() ? m_origin : m_origin + QStringLiteral(", ") + m_file;
}

WarningLog::ModuleCall::~ModuleCall()
{
    currentCall = m_outer;
    --m_log.m_moduleCalls;
}
