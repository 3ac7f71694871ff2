// kxcam-play: what a host gets from a folder through the kxCam_100 camera
// module. Exit status 0 on success, 1 when the module cannot be loaded or the
// camera cannot open the folder, 2 for bad options, 3 when the replay differs
// from the manifest given to --check.
#include "camera_module.h"
#include "host_options.h"
#include "log_relay.h"
#include "module_follow.h"
#include "player.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kxcam-play"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KXCAM_VERSION));

    const HostProgram commandLine{
        QStringLiteral(
            "Plays a folder of BMP, JPEG and PNG files through the kxCam_100 camera module, as a host "
            "application sees them: one line per delivered frame, then a summary. With --follow it plays the files "
            "written into the folder while it runs, until --frames, --idle or Ctrl-C ends it; on a terminal its "
            "status line counts the frames and says when it waits for files.\n"
            "Exit status: 0 when the run played to its end, 1 when the module cannot be loaded, the camera cannot "
            "open the folder, an output cannot be written or the manifest of --check cannot be read, 2 for bad options, "
            "3 when the replay differs from that manifest, 130 or 143 when Ctrl-C (SIGINT) or SIGTERM ended the run "
            "(after its summary); a second Ctrl-C ends it at once."),
        true};
    HostOptions options;
    QString error;
    if (!parseHostOptions(QCoreApplication::arguments(), commandLine, options, error)) {
        std::fprintf(stderr, "kxcam-play: %s\nTry 'kxcam-play --help'.\n", qPrintable(error));
        return 2;
    }

    if (options.follow)
        setModuleFollows(true);
    LogRelay log;
    CameraModule module(options.modulePath);
    if (!module.load()) {
        log.note(module.errorString());
        return 1;
    }
    Player player(module.entryPoints(), options, log);
    return player.run();
}
