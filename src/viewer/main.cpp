// kxcam-view: a folder played through the kxCam_100 camera module in a window,
// with the bytes a host receives open to inspection. Exit status 1 when the
// module cannot be loaded, 2 for bad options.
#include "camera_module.h"
#include "host_options.h"
#include "module_follow.h"
#include "viewer_window.h"
#include "warning_log.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

const HostProgram viewer{QStringLiteral(
    "Plays a folder of BMP, JPEG and PNG files through the kxCam_100 camera module in a window, and shows "
    "the bytes a host receives: the frame in its announced format, the raw value of the pixel under the "
    "mouse and the module's warnings.\n"
    "Exit status: 0 when the window is closed, 1 when the module cannot be loaded, 2 for bad options.")};

// --help or --version, in any spelling the parser takes, before a lone --.
bool asksForText(int argc, char* argv[])
{
    const QByteArrayList names{"h", "?", "help", "help-all", "v", "version"};
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        if (argument == "--")
            return false;
        if (!argument.startsWith('-'))
            continue;
        argument.remove(0, argument.startsWith("--") ? 2 : 1);
        if (names.contains(argument))
            return true;
    }
    return false;
}

bool parse(HostOptions& options)
{
    QCoreApplication::setApplicationName(QStringLiteral("kxcam-view"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KXCAM_VERSION));
    QString error;
    if (parseHostOptions(QCoreApplication::arguments(), viewer, options, error))
        return true;
    std::fprintf(stderr, "kxcam-view: %s\nTry 'kxcam-view --help'.\n", qPrintable(error));
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    HostOptions options;
    // Help and version are printed without reaching for a display, which a
    // GUI application needs before anything else.
    if (asksForText(argc, argv)) {
        QCoreApplication application(argc, argv);
        if (!parse(options))
            return 2;
    }
    QApplication application(argc, argv);
    if (!parse(options))
        return 2;

    WarningLog log;
    if (options.follow)
        setModuleFollows(true);
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
