// kxcam-view: a folder played through the kxCam_100 camera module in a window,
// with the bytes a host receives open to inspection. Its exit statuses are
// exit_status.h's.
#include "camera_module.h"
#include "exit_status.h"
#include "host_options.h"
#include "program_failure.h"
#include "viewer_window.h"
#include "warning_log.h"

#include <QApplication>
#include <QMessageBox>

namespace {

const HostProgram viewer{QStringLiteral(
    "Plays a folder of BMP, JPEG and PNG files through the kxCam_100 camera module in a window, and shows "
    "the bytes a host receives: the frame in its announced format, the raw value of the pixel under the "
    "mouse and the module's warnings.")};

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
    reportBadOptions(error);
    return false;
}

// Said as kxcam-play says it, and in a box for a user who started the
// program from a desktop, where nobody reads stderr. A platform without a
// screen shows the box to nobody, and it would wait for a click for ever.
void showFailure(const QString& text)
{
    reportFailure(text);
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(), text);
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
            return exitBadOptions;
    }
    QApplication application(argc, argv);
    if (!parse(options))
        return exitBadOptions;

    WarningLog log;
    CameraModule module(options.modulePath);
    if (!module.load()) {
        showFailure(module.errorString());
        return exitFailure;
    }
    ViewerWindow window(module.entryPoints(), log);
    window.start(options);
    return QApplication::exec();
}
