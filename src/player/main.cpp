// kxcam-play: what a host gets from a folder through the kxCam_100 camera
// module. Exit status 0 on success, 1 when the module cannot be loaded or the
// camera cannot open the folder, 2 for bad options.
#include "camera_module.h"
#include "log_relay.h"
#include "player.h"
#include "player_options.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kxcam-play"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KXCAM_VERSION));

    PlayerOptions options;
    QString error;
    if (!parsePlayerOptions(application, options, error)) {
        std::fprintf(stderr, "kxcam-play: %s\nTry 'kxcam-play --help'.\n", qPrintable(error));
        return 2;
    }

    LogRelay log;
    CameraModule module(options.modulePath);
    if (!module.load()) {
        log.note(module.errorString());
        return 1;
    }
    Player player(module.entryPoints(), options, log);
    return player.run();
}
