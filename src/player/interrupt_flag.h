// Ctrl-C and SIGTERM (on Windows the console's Ctrl-C, Ctrl-Break and close
// events) as a request to finish: the handler only records it, and the player
// polls, so the run still ends with its summary. A second Ctrl-C while the
// first waits, e.g. during a long decode, ends the process at once. SIGPIPE is
// ignored, so a closed pipe is a write error like any other.
#ifndef INTERRUPT_FLAG_H
#define INTERRUPT_FLAG_H

void installInterruptHandler();
bool interruptRequested();
// exitInterrupted after SIGINT, exitTerminated after SIGTERM; exitSuccess when none came.
int interruptExitStatus();
// Lets a console close, which Windows ends once its handler returns, wait for
// the summary; does nothing elsewhere.
void interruptHandled();

#endif
