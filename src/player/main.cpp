// kxcam-play: what a host gets from a folder through the kxCam_100 camera
// module. Its exit statuses are exit_status.h's.
#include "camera_module.h"
#include "exit_status.h"
#include "host_options.h"
#include "log_relay.h"
#include "module_follow.h"
#include "player.h"
#include "program_failure.h"

#include <QCoreApplication>

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
            "status line counts the frames and says when it waits for files."),
        true};
    HostOptions options;
    QString error;
    if (!parseHostOptions(QCoreApplication::arguments(), commandLine, options, error))
        return reportBadOptions(error);

    if (options.follow)
        setModuleFollows(true);
    LogRelay log;
    CameraModule module(options.modulePath);
    if (!module.load()) {
        reportFailure(module.errorString());
        return exitFailure;
    }
    Player player(module.entryPoints(), options, log);
    return player.run();
}
