#include "warning_log.h"

namespace {

// The innermost call into the camera on this thread: a warning is logged on
// the thread of the call that caused it.
thread_local WarningLog::ModuleCall* currentCall = nullptr;

}  // namespace

WarningLog::WarningLog(QObject* parent) : QObject(parent)
{
    // Only a warning logged on a thread that is inside one of this log's calls
    // is the camera's: the window's own thread goes on while the camera opens
    // on another, and Qt's warnings about the platform come meanwhile.
    m_relay.setWarningListener([this](const QString& message) {
        if (!currentCall || &currentCall->m_log != this)
            return;
        ++m_warnings;
        emit warned(currentCall->origin(), message);
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
    currentCall = this;
}

QString WarningLog::ModuleCall::origin() const
{
    return m_file.isEmpty() ? m_origin : m_origin + QStringLiteral(", ") + m_file;
}

WarningLog::ModuleCall::~ModuleCall()
{
    currentCall = m_outer;
}
