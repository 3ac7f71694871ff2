// kxcam-view-snapshot OUT.png MILLISECONDS [FOLDER]: the viewer's window,
// playing FOLDER (default: the sample set) for MILLISECONDS as the program
// shows it, saved as a picture; its status line, with the frames/s reached,
// goes to stdout. The mouse rests on the middle of the frame, so the pixel
// inspector shows. Run it with QT_QPA_PLATFORM=offscreen to need no display.
#include "camera_module.h"
#include "default_paths.h"
#include "frame_view.h"
#include "viewer_window.h"
#include "warning_log.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    bool isNumber = false;
    const int milliseconds = arguments.value(2).toInt(&isNumber);
    if (arguments.size() < 3 || arguments.size() > 4 || !isNumber || milliseconds < 0) {
        std::fprintf(stderr, "usage: kxcam-view-snapshot OUT.png MILLISECONDS [FOLDER]\n");
        return 2;
    }
    WarningLog log;
    CameraModule module(defaultModulePath());
    if (!module.load()) {
        std::fprintf(stderr, "kxcam-view-snapshot: %s\n", qPrintable(module.errorString()));
        return 1;
    }
    ViewerWindow window(module.entryPoints(), log);
    window.setLoop(true);
    window.show();
    window.openFolder(QFileInfo(arguments.value(3, defaultSampleFolder())).absoluteFilePath());
    QTimer::singleShot(milliseconds, &window, [&] {
        QWidget* viewport = window.frameView().viewport();
        QMouseEvent rest(QEvent::MouseMove, viewport->rect().center(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &rest);
        std::printf("%s\n", qPrintable(window.statusText()));
        const bool saved = window.grab().save(arguments.at(1), "PNG");
        if (!saved)
            std::fprintf(stderr, "kxcam-view-snapshot: cannot write %s\n", qPrintable(arguments.at(1)));
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
