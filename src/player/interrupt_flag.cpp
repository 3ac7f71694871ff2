#include "interrupt_flag.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
}

}  // namespace

void installInterruptHandler()
{
    std::signal(SIGINT, onInterrupt);
}

bool interruptRequested()
{
    return interrupted != 0;
}
