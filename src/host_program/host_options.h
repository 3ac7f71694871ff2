// The command line of the host programs, parsed and checked by one piece of
// code. Every program takes --loop, --preload, --follow, --pixel-format, --fps,
// --pace, --speed, --module, --help, --version and a FOLDER; kxcam-play adds
// its output's, --idle and --check.
#ifndef HOST_OPTIONS_H
#define HOST_OPTIONS_H

#include "pace_rule.h"

#include <QString>
#include <QStringList>

struct HostOptions {
    QString folder;      // as given, resolved by the camera; the bundled sample set when none is given
    QString modulePath;  // the module beside the program or in the build tree when none is given
    bool loop = false;
    bool preload = false;
    bool follow = false;  // the module told to follow the folder as it grows
    int pixelFormat = 0;
    int frames = -1;   // triggers to make (frames to deliver when following); -1: until the end of the list, or forever with loop
    double idleSeconds = 0.0;  // following: the time without a new file that ends the run; 0: none
    double fps = 0.0;  // 0: as fast as the host can trigger, or at pace
    PaceRule pace;
    double speed = 1.0;  // scales fps or pace
    bool json = false;
    bool quiet = false;
    QString saveDir;
    QString contactSheet;
    QString manifest;  // --check: compared with the replay
};

// What a program's command line is made of beyond the options all share.
struct HostProgram {
    QString description;         // the text --help starts with, before the exit statuses
    bool outputOptions = false;  // --frames, --idle, --json, --quiet, --save, --contact-sheet and --check
};

// Parses arguments, the program's name first. --help and --version print and
// exit the process; other problems return false with a one-line reason in error.
bool parseHostOptions(const QStringList& arguments, const HostProgram& program, HostOptions& options,
                      QString& error);

#endif
