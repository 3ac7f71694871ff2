// The statuses the host programs end with, by name. Each program's --help
// lists its own from one table, with what each means; the manual pages are
// made from --help.
#ifndef EXIT_STATUS_H
#define EXIT_STATUS_H

#include <QString>

enum ExitStatus : int {
    exitSuccess = 0,
    exitFailure = 1,  // the reason is on stderr
    exitBadOptions = 2,
    exitReplayDiffers = 3,
    exitInterrupted = 130,  // SIGINT, as shells report it
    exitTerminated = 143,   // SIGTERM
};

// "Exit status: 0 when ..., 2 for bad options." for the program named
// `program`: the statuses it ends with, each with what it means.
QString exitStatusHelp(const QString& program);

#endif
