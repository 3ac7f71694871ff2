// The command line of kxcam-play.
#ifndef PLAYER_OPTIONS_H
#define PLAYER_OPTIONS_H

#include <QString>

class QCoreApplication;

struct PlayerOptions {
    QString folder;      // as given, resolved by the camera; the bundled sample set when none is given
    QString modulePath;  // the module beside the program or in the build tree when none is given
    bool loop = false;
    bool preload = false;
    int pixelFormat = 0;
    int frames = -1;   // triggers to make; -1: until the end of the list, or forever with loop
    double fps = 0.0;  // 0: as fast as the host can trigger
    bool json = false;
    bool quiet = false;
    QString saveDir;
    QString contactSheet;
};

// Parses the application's arguments. --help and --version print and exit the
// process; other problems return false with a one-line reason in error.
bool parsePlayerOptions(const QCoreApplication& application, PlayerOptions& options, QString& error);

#endif
