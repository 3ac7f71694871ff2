// kxcam-view-snapshot OUT.png MILLISECONDS [kxcam-view's options] [FOLDER]:
// the viewer's window, playing as kxcam-view plays for MILLISECONDS, saved as
// a picture; its status line, with the frames/s reached, goes to stdout. The
// mouse rests on the middle of the frame, so the pixel inspector shows. Run it
// with QT_QPA_PLATFORM=offscreen to need no display.
#include "camera_module.h"
#include "frame_view.h"
#include "host_options.h"
#include "viewer_window.h"
#include "warning_log.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kxcam-view-snapshot"));
    QStringList arguments = QApplication::arguments();
    bool isNumber = false;
    const int milliseconds = arguments.value(2).toInt(&isNumber);
    const QString usage =
        QStringLiteral("usage: kxcam-view-snapshot OUT.png MILLISECONDS [kxcam-view's options] [FOLDER]");
    if (arguments.size() < 3 || !isNumber || milliseconds < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(usage));
        return 2;
    }
    const QString picture = arguments.at(1);
    arguments.erase(arguments.begin() + 1, arguments.begin() + 3);
    HostOptions options;
    QString error;
    if (!parseHostOptions(arguments, HostProgram{usage}, options, error)) {
        std::fprintf(stderr, "kxcam-view-snapshot: %s\n", qPrintable(error));
        return 2;
    }

    WarningLog log;
    CameraModule module(options.modulePath);
    if (!module.load()) {
        std::fprintf(stderr, "kxcam-view-snapshot: %s\n", qPrintable(module.errorString()));
        return 1;
    }
    ViewerWindow window(module.entryPoints(), log);
    window.start(options);
    // The window opens paused on the first frame; the picture is taken playing.
    window.playback().play();
    QTimer::singleShot(milliseconds, &window, [&] {
        QWidget* viewport = window.frameView().viewport();
        QMouseEvent rest(QEvent::MouseMove, viewport->rect().center(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &rest);
        // Labels resized by the last frame are laid out as the screen would show them.
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        std::printf("%s\n", qPrintable(window.statusText()));
        const bool saved = window.grab().save(picture, "PNG");
        if (!saved)
            std::fprintf(stderr, "kxcam-view-snapshot: cannot write %s\n", qPrintable(picture));
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
