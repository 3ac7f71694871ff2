#include "follow_soak.h"

#include "host_camera.h"
#include "pixel_checksum.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

int couldNotLoad = 0;

void countCouldNotLoad(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Virtual Camera: Could not load")))
        ++couldNotLoad;
    else if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Noise, so a large image stays large as a PNG, and no two images alike.
QByteArray encodedImage(int index, bool large, QRandomGenerator& random)
{
    const int width = large ? 800 : 40 + index % 97;
    const int height = large ? 500 : 30;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    image.setPixel(0, 0, qRgb(index & 0xff, index >> 8, 0x5a));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png", large ? 0 : -1);
    return buffer.data();
}

bool writeInChunks(const QString& path, const QByteArray& bytes, int pauseMs, QRandomGenerator& random)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int at = 0; at < bytes.size();) {
        const int chunk = qMin(bytes.size() - at, 1024 + int(random.bounded(256 * 1024)));
        if (file.write(bytes.constData() + at, chunk) != chunk || !file.flush())
            return false;
        at += chunk;
        if (pauseMs > 0)
            QThread::msleep(random.bounded(pauseMs + 1));
    }
    return true;
}

}  // namespace

int writeFollowedFiles(const QString& folder, int count, int pauseMs, unsigned seed)
{
    QRandomGenerator random(seed);
    for (int i = 0; i < count; ++i) {
        const bool late = i >= count / 4 && i % 2 == 1;
        const QString subfolder = folder + (late ? QStringLiteral("/late") : QStringLiteral("/early"));
        if (late && !QDir().mkpath(subfolder))
            return 1;
        const QString path = subfolder + QStringLiteral("/frame_%1.png").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray bytes = encodedImage(i, i % 20 == 7, random);
        const bool renamed = i % 2 == 0;
        const QString written = renamed ? path + QStringLiteral(".tmp") : path;
        if (!writeInChunks(written, bytes, pauseMs, random) || (renamed && !QFile::rename(written, path)))
            return 1;
    }
    return 0;
}

bool soakFollow(const CameraEntryPoints& entryPoints, const QString& program, int count, int pauseMs)
{
    QTemporaryDir folder;
    QDir().mkpath(folder.path() + QStringLiteral("/early"));
    qputenv("KXCAM_FOLLOW", "1");
    HostCamera camera(entryPoints);
    camera.params().folder = folder.path();
    camera.params().loop = 1;  // a followed folder is never replayed
    QHash<quint32, int> delivered;
    int frames = 0;
    camera.setFrameHandler([&](ICameraObject& frame) {
        ++delivered[pixelChecksum(frame)];
        ++frames;
    });
    couldNotLoad = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countCouldNotLoad);
    const bool opened = camera.create() && camera->open() == 1 && camera->start() == 1;
    qunsetenv("KXCAM_FOLLOW");
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    if (opened) {
        writer.start(program, {QStringLiteral("--write-followed"), folder.path(), QString::number(count),
                               QString::number(pauseMs)});
        writer.waitForStarted();
    }
    // Triggers as a host would, a short wait whenever nothing came, until the
    // writer is done and every file has had time to settle.
    QElapsedTimer sinceWriterEnded;
    while (opened && (writer.state() != QProcess::NotRunning || !sinceWriterEnded.isValid()
                      || (frames < count && sinceWriterEnded.elapsed() < 5000))) {
        if (writer.state() == QProcess::NotRunning && !sinceWriterEnded.isValid())
            sinceWriterEnded.start();
        const int before = frames;
        camera->trigger();
        if (frames == before && writer.state() != QProcess::NotRunning)
            writer.waitForFinished(2);
        else if (frames == before)
            QThread::msleep(2);
    }
    camera.destroy();
    qInstallMessageHandler(previous);

    QHash<quint32, int> written;
    for (QDirIterator it(folder.path(), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        ++written[pixelChecksum(QImage(it.next()))];
    int once = 0, twice = 0, missing = 0, unknown = 0;
    for (auto file = written.cbegin(); file != written.cend(); ++file) {
        const int times = delivered.value(file.key());
        once += times == 1;
        twice += times > 1;
        missing += times == 0;
    }
    for (auto frame = delivered.cbegin(); frame != delivered.cend(); ++frame)
        unknown += written.contains(frame.key()) ? 0 : frame.value();
    const bool held = opened && writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0
                      && written.size() == count && once == count && couldNotLoad == 0;
    std::printf("soak follow: %d files written in chunks with pauses of up to %d ms, %d frames: %d once, %d more than "
                "once, %d missing, %d not of a finished file, %d \"Could not load\" warnings%s\n",
                int(written.size()), pauseMs, frames, once, twice, missing, unknown, couldNotLoad,
                held ? "" : " - FAILED");
    return held;
}
