// kxcam-view: a folder played through the kxCam_100 camera module in a window,
// with the bytes a host receives open to inspection. Exit status 1 when the
// module cannot be loaded, 2 for bad options.
#include "camera_module.h"
#include "host_options.h"
#include "viewer_window.h"
#include "warning_log.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kxcam-view"));
    QApplication::setApplicationVersion(QStringLiteral(KXCAM_VERSION));

    const HostProgram viewer{QStringLiteral(
        "Plays a folder of BMP, JPEG and PNG files through the kxCam_100 camera module in a window, and shows "
        "the bytes a host receives: the frame in its announced format, the raw value of the pixel under the "
        "mouse and the module's warnings.\n"
        "Exit status: 0 when the window is closed, 1 when the module cannot be loaded, 2 for bad options.")};
    HostOptions options;
    QString error;
    if (!parseHostOptions(QApplication::arguments(), viewer, options, error)) {
        std::fprintf(stderr, "kxcam-view: %s\nTry 'kxcam-view --help'.\n", qPrintable(error));
        return 2;
    }

    WarningLog log;
    CameraModule module(options.modulePath);
    if (!module.load()) {
        std::fprintf(stderr, "kxcam-view: %s\n", qPrintable(module.errorString()));
        QMessageBox::critical(nullptr, QStringLiteral("kxcam-view"), module.errorString());
        return 1;
    }
    ViewerWindow window(module.entryPoints(), log);
    window.start(options);
    return QApplication::exec();
}
