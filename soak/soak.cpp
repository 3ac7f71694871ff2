// Soak run: a long series of wrapping triggers over a small folder, with
// preloading off and on, through the loaded module. Prints resident memory at
// the start, the middle and the end, and the warnings seen; fails when memory
// grows between the middle and the end or the warnings differ from the one
// undecodable file's share. Then a followed folder that a writer process
// fills while the camera triggers (follow_soak).
#include "camera_module.h"
#include "follow_soak.h"
#include "host_camera.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

int warnings = 0;

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Virtual Camera")))
        ++warnings;
}

// Resident memory in KiB, or -1 where the platform offers no cheap reading.
long residentKiB()
{
#ifdef Q_OS_LINUX
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * 4 : -1;
#else
    return -1;
#endif
}

// Five images and one undecodable file.
void fillFolder(const QString& path)
{
    for (int i = 0; i < 5; ++i) {
        QImage image(32 + i, 24, QImage::Format_RGB32);
        image.fill(qRgb(i * 40, 255 - i * 40, 128));
        image.save(path + QStringLiteral("/image%1.png").arg(i));
    }
    QFile broken(path + QStringLiteral("/broken.png"));
    if (broken.open(QIODevice::WriteOnly))
        broken.write("not an image");
}

// True when memory held still and the warnings matched.
bool soak(const CameraEntryPoints& entryPoints, const QString& folder, bool preload, long triggers)
{
    HostCamera camera(entryPoints);
    camera.params().folder = folder;
    camera.params().preload = preload ? 1 : 0;
    camera.params().loop = 1;
    long frames = 0;
    camera.setFrameHandler([&frames](ICameraObject&) { ++frames; });
    warnings = 0;
    const long start = residentKiB();
    if (!camera.create() || camera->open() != 1 || camera->start() != 1) {
        std::fprintf(stderr, "soak: cannot open %s\n", qPrintable(folder));
        return false;
    }
    long middle = 0;
    for (long i = 0; i < triggers; ++i) {
        if (i == triggers / 2)
            middle = residentKiB();
        camera->trigger();
    }
    const long end = residentKiB();
    camera.destroy();
    // The undecodable file is one of six, wherever the listing puts it.
    const long expectedWarnings = triggers / 6;
    std::printf("soak %s: %ld triggers, %ld frames, %d warnings; resident KiB start %ld, middle %ld, end %ld\n",
                preload ? "preload" : "decode", triggers, frames, warnings, start, middle, end);
    // The allocator may settle a little; a leak of even a frame per thousand triggers shows far above this.
    const long slackKiB = 2048;
    const bool memoryHeld = middle < 0 || end <= middle + slackKiB;
    const bool warningsMatch = frames + warnings == triggers && warnings >= expectedWarnings
                               && warnings <= expectedWarnings + 1;
    if (!memoryHeld)
        std::printf("soak %s: resident memory grew by %ld KiB\n", preload ? "preload" : "decode", end - middle);
    if (!warningsMatch)
        std::printf("soak %s: expected about %ld warnings\n", preload ? "preload" : "decode", expectedWarnings);
    return memoryHeld && warningsMatch;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--write-followed") == 0)
        return writeFollowedFiles(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                  unsigned(QCoreApplication::applicationPid()));
    const long triggers = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    const QString modulePath = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(KXCAM_MODULE_PATH);
    CameraModule module(modulePath);
    if (triggers <= 0 || !module.load()) {
        std::fprintf(stderr, "usage: soak [triggers [module]]: %s\n", qPrintable(module.errorString()));
        return 2;
    }
    QTemporaryDir folder;
    fillFolder(folder.path());
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    bool held = true;
    for (bool preload : {false, true})
        held = soak(module.entryPoints(), folder.path(), preload, triggers) && held;
    qInstallMessageHandler(previous);
    held = soakFollow(module.entryPoints(), QCoreApplication::applicationFilePath(), 500, 20) && held;
    return held ? 0 : 1;
}
