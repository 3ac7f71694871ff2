// Ctrl-C as a request to finish: the handler only sets a flag, which the
// player polls, so the run still ends with its summary.
#ifndef INTERRUPT_FLAG_H
#define INTERRUPT_FLAG_H

void installInterruptHandler();
bool interruptRequested();

#endif
