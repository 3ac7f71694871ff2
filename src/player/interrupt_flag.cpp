#include "interrupt_flag.h"

#include "exit_status.h"

#include <QtGlobal>

#include <csignal>
#include <cstdlib>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

constexpr int interruptStatus = exitInterrupted;
constexpr int terminateStatus = exitTerminated;

volatile std::sig_atomic_t exitStatus = 0;

void request(int status)
{
    if (exitStatus == interruptStatus && status == interruptStatus)
        std::_Exit(status);
    if (exitStatus == 0)
        exitStatus = status;
}

#if defined(Q_OS_WIN)

volatile LONG handled = 0;
constexpr DWORD closeWaitMilliseconds = 4000;  // Windows ends the process 5 s after a close event
constexpr DWORD closePollMilliseconds = 20;

BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT: request(interruptStatus); return TRUE;
    case CTRL_BREAK_EVENT: request(terminateStatus); return TRUE;
    case CTRL_CLOSE_EVENT:
        request(terminateStatus);
        for (DWORD waited = 0; !handled && waited < closeWaitMilliseconds; waited += closePollMilliseconds)
            Sleep(closePollMilliseconds);
        return TRUE;
    default: return FALSE;
    }
}

#else

extern "C" void onSignal(int signal)
{
    request(signal == SIGTERM ? terminateStatus : interruptStatus);
}

#endif

}  // namespace

void installInterruptHandler()
{
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    // A reader that closes the pipe (| head) makes the next write fail with
    // EPIPE, which ends the run with its reason and status 1, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool interruptRequested()
{
    return exitStatus != 0;
}

int interruptExitStatus()
{
    return exitStatus;
}

void interruptHandled()
{
#if defined(Q_OS_WIN)
    handled = 1;
#endif
}
