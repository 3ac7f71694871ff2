// Hostile folders through the loaded module: files that change or vanish
// between the scan and their trigger, a folder that disappears, special files,
// huge trees, frames far larger than their files, and paths that need escaping
// in the log. Nothing may crash, hang or log other than the stated warnings.
#include "delivered_frame.h"
#include "image_folder.h"
#include "log_capture.h"
#include "page_cache.h"
#include "recording_camera.h"
#include "wine_detection.h"

#include <QBuffer>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const QString couldNotLoad = QStringLiteral("warning: Virtual Camera: Could not load image file(  \"%1\"  )");

enum class Change { Delete, Truncate, Corrupt, Replace, Pipe };

void applyChange(Change change, const QString& path)
{
    switch (change) {
    case Change::Delete: QFile::remove(path); break;
    case Change::Truncate: QFile(path).resize(QFileInfo(path).size() / 2); break;
    case Change::Corrupt: {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("\x89PNG\r\n\x1a\n this is no image at all");
        break;
    }
    case Change::Replace: patternImage(7, 5, QImage::Format_RGB32, 99).save(path, "png"); break;
    case Change::Pipe:
#ifdef Q_OS_UNIX
        QVERIFY(QFile::remove(path));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        break;
    }
}

// A JPEG header announcing width x height with almost no scan data; the
// decoder fills the missing rows, so a file of under a kilobyte becomes a frame
// of width * height * 4 bytes.
QByteArray tinyJpegOfHugeFrame(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpg", 10);
    return bytes.left(700);
}

#ifdef Q_OS_LINUX
// Whether the file's last page is in the page cache, asked without reading it.
bool lastPageCached(const QString& path)
{
    QFile file(path);
    const qint64 page = sysconf(_SC_PAGESIZE);
    uchar* const last = file.open(QIODevice::ReadOnly) ? file.map((file.size() - 1) / page * page, 1) : nullptr;
    unsigned char resident = 0;
    return last && mincore(last, 1, &resident) == 0 && (resident & 1);
}
#endif

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void fileChangedAfterScan_data();
    void fileChangedAfterScan();
    void nextFileChangedAfterScan_data();
    void nextFileChangedAfterScan();
    void folderVanishesWhileOpen_data();
    void folderVanishesWhileOpen();
    void specialFilesAreNeverOpened_data();
    void specialFilesAreNeverOpened();
    void deepTree();
    void fiftyThousandFiles_data();
    void fiftyThousandFiles();
    void hugeFrameFromTinyFile_data();
    void hugeFrameFromTinyFile();
    void pathsAreEscapedInWarnings_data();
    void pathsAreEscapedInWarnings();
    void readAheadCachesScheduledFiles_data();
    void readAheadCachesScheduledFiles();
    void readAheadLeavesNoDescriptorOpen();
};

void FaultsTest::fileChangedAfterScan_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("preload");
    QTest::addColumn<bool>("delivered");
    QTest::addColumn<QSize>("size");
    const struct { const char* name; Change change; bool decodedStillFails; } rows[] = {
        {"deleted", Change::Delete, true}, {"truncated", Change::Truncate, true},
        {"corrupt", Change::Corrupt, true}, {"replaced", Change::Replace, false}};
    for (const auto& row : rows) {
        // Preloaded pixels were decoded at the scan and survive any later change.
        QTest::addRow("%s, preload", row.name) << int(row.change) << true << true << QSize(3, 2);
        QTest::addRow("%s, decode", row.name) << int(row.change) << false << !row.decodedStillFails
                                              << (row.decodedStillFails ? QSize() : QSize(7, 5));
    }
}

void FaultsTest::fileChangedAfterScan()
{
    QFETCH(int, change);
    QFETCH(bool, preload);
    QFETCH(bool, delivered);
    QFETCH(QSize, size);
    ImageFolder folder;
    const QImage original = patternImage(3, 2, QImage::Format_RGB32, 1);
    const QString path = folder.addImage(QStringLiteral("a.png"), original);
    const QByteArray originalRows = pixelRows(QImage(path));
    RecordingCamera camera(folder.path(), preload);
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    LogCapture log;
    applyChange(Change(change), path);
    camera->trigger();
    if (!delivered) {
        QVERIFY(camera.frames.isEmpty());
        QCOMPARE(log.lines(), QStringList{couldNotLoad.arg(path)});
        return;
    }
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(QSize(camera.frames[0].width, camera.frames[0].height), size);
    QCOMPARE(pixelRows(camera.frames[0]), preload ? originalRows : pixelRows(QImage(path)));
    QCOMPARE(log.lines(), QStringList());
}

void FaultsTest::nextFileChangedAfterScan_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("triggerChanged");
    QTest::newRow("deleted") << int(Change::Delete) << true;
#ifdef Q_OS_UNIX
    // Triggered, a pipe would block the decode itself, so only the trigger before it runs.
    QTest::newRow("named pipe") << int(Change::Pipe) << false;
#endif
}

// The trigger before a changed file has already asked the system to read it
// ahead: that must neither block nor show.
void FaultsTest::nextFileChangedAfterScan()
{
    QFETCH(int, change);
    QFETCH(bool, triggerChanged);
    ImageFolder folder;
    const QStringList order{folder.addImage(QStringLiteral("a.png"), patternImage(3, 2, QImage::Format_RGB32, 1)),
                            folder.addImage(QStringLiteral("b.png"), patternImage(4, 2, QImage::Format_RGB32, 2))};
    const QByteArray firstRows = pixelRows(QImage(order[0]));
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    LogCapture log;
    applyChange(Change(change), order[1]);
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(pixelRows(camera.frames[0]), firstRows);
    QCOMPARE(camera->m_frameCount, 1);
    QCOMPARE(log.lines(), QStringList());
    if (!triggerChanged)
        return;
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(camera->m_frameCount, 1);
    QCOMPARE(log.lines(), QStringList{couldNotLoad.arg(order[1])});
}

void FaultsTest::folderVanishesWhileOpen_data()
{
    QTest::addColumn<bool>("replacedByFile");
    QTest::addColumn<bool>("preload");
    for (bool preload : {false, true}) {
        QTest::addRow("removed, %s", preload ? "preload" : "decode") << false << preload;
        QTest::addRow("replaced by a file, %s", preload ? "preload" : "decode") << true << preload;
    }
}

void FaultsTest::folderVanishesWhileOpen()
{
    QFETCH(bool, replacedByFile);
    QFETCH(bool, preload);
    ImageFolder root;
    const QString dir = root.addFolder(QStringLiteral("cam"));
    const QString path = root.addImage(QStringLiteral("cam/a.png"), patternImage(2, 2, QImage::Format_RGB32, 3));
    RecordingCamera camera(dir, preload, true);
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    QVERIFY(QDir(dir).removeRecursively());
    if (replacedByFile)
        root.addFile(QStringLiteral("cam"), QByteArray("not a folder"));
    LogCapture log;

    // The list of the last scan still names the file.
    camera->trigger();
    QCOMPARE(camera.frames.size(), preload ? 1 : 0);
    QCOMPARE(log.take(), preload ? QStringList() : QStringList{couldNotLoad.arg(path)});

    // A rescan finds nothing; reopening fails but keeps the flags.
    camera->stop();
    camera->trigger();
    QCOMPARE(log.take(), QStringList{QStringLiteral("warning: Virtual Camera: No image files in  \"%1\"").arg(dir)});
    QCOMPARE(camera->open(), 0);
    QCOMPARE(log.take(), QStringList{QStringLiteral("warning: Virtual Camera: Folder(  \"%1\"  ) not exist").arg(dir)});
    QVERIFY(camera->m_opened);
    camera->trigger();
    QCOMPARE(log.take(), QStringList{QStringLiteral("warning: Virtual Camera: No image files in  \"%1\"").arg(dir)});
    QCOMPARE(camera.frames.size(), preload ? 1 : 0);
}

void FaultsTest::specialFilesAreNeverOpened_data()
{
    QTest::addColumn<bool>("preload");
    QTest::newRow("decode") << false;
    QTest::newRow("preload") << true;
}

void FaultsTest::specialFilesAreNeverOpened()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, preload);
    ImageFolder folder;
    const QString image = folder.addImage(QStringLiteral("a.png"), patternImage(2, 3, QImage::Format_RGB32, 4));
    // A reader opening the pipe would block the host for ever.
    const QByteArray pipe = QFile::encodeName(folder.path() + QStringLiteral("/pipe.png"));
    QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
    const QByteArray socketPath = QFile::encodeName(folder.path() + QStringLiteral("/socket.jpg"));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(size_t(socketPath.size()) < sizeof address.sun_path);
    memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(socketFd >= 0);
    QCOMPARE(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    RecordingCamera camera(folder.path(), preload, true);
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    const QList<DeliveredFrame> frames = camera.triggerTimes(3);
    close(socketFd);
    QCOMPARE(frames.size(), 3);
    for (const DeliveredFrame& frame : frames)
        QCOMPARE(pixelRows(frame), pixelRows(QImage(image)));
    QCOMPARE(log.lines(), QStringList());
#else
    QSKIP("named pipes and sockets in folders are a POSIX matter");
#endif
}

void FaultsTest::deepTree()
{
    ImageFolder folder;
    QString relative;
    for (int level = 0; level < 400; ++level)
        relative += QStringLiteral("d/");
    const QString deep = folder.addImage(relative + QStringLiteral("deep.bmp"), patternImage(5, 1, QImage::Format_RGB32, 5));
    folder.addImage(QStringLiteral("top.png"), patternImage(1, 5, QImage::Format_RGB32, 6));
    RecordingCamera camera(folder.path());
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    const QList<DeliveredFrame> frames = camera.triggerTimes(3);
    QCOMPARE(frames.size(), 2);
    QSet<QByteArray> delivered{pixelRows(frames[0]), pixelRows(frames[1])};
    QCOMPARE(delivered, (QSet<QByteArray>{pixelRows(QImage(deep)), pixelRows(QImage(folder.path() + "/top.png"))}));
    QCOMPARE(log.lines(), QStringList());
}

void FaultsTest::fiftyThousandFiles_data()
{
    QTest::addColumn<bool>("preload");
    QTest::newRow("decode") << false;
    QTest::newRow("preload") << true;
}

void FaultsTest::fiftyThousandFiles()
{
    QFETCH(bool, preload);
    // Under Wine each file costs some ten milliseconds to make, list and decode
    // (5,000 took 50 s a row), so 50,000 would outlast the test's time limit.
    const int count = runsUnderWine() ? 2000 : 50000;
    ImageFolder folder;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    patternImage(2, 2, QImage::Format_RGB32, 7).save(&buffer, "png");
    for (int i = 0; i < count; ++i) {
        QFile file(folder.path() + QStringLiteral("/%1.png").arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(png);
    }
    RecordingCamera camera(folder.path(), preload);
    int frames = 0;
    int lastFrameCount = 0;
    camera.setFrameHandler([&frames, &lastFrameCount](ICameraObject& cam) {
        ++frames;
        lastFrameCount = cam.m_frameCount;
    });
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    for (int i = 0; i <= count; ++i)
        camera->trigger();
    // Every file once, then the end of the list without wrap.
    QCOMPARE(frames, count);
    QCOMPARE(lastFrameCount, count);
    QCOMPARE(log.lines(), QStringList());
}

void FaultsTest::hugeFrameFromTinyFile_data()
{
    QTest::addColumn<bool>("preload");
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("longRun");
    for (bool preload : {false, true}) {
        const char* mode = preload ? "preload" : "decode";
        QTest::addRow("%s, 8000x8000", mode) << preload << 8000 << false;
        // Exactly 1 GiB, within the 32-bit size a frame is described by: half a
        // minute of decoding and 3 GiB of memory with the test's copies.
        QTest::addRow("%s, 16384x16384", mode) << preload << 16384 << true;
    }
}

void FaultsTest::hugeFrameFromTinyFile()
{
    QFETCH(bool, preload);
    QFETCH(int, side);
    QFETCH(bool, longRun);
    if (longRun && !qEnvironmentVariableIsSet("KXCAM_LONG_RUN"))
        QSKIP("a long run: set KXCAM_LONG_RUN to include it");
    ImageFolder folder;
    const QByteArray bytes = tinyJpegOfHugeFrame(side, side);
    QCOMPARE(bytes.size(), 700);
    const QString path = folder.addFile(QStringLiteral("tiny.jpg"), bytes);
    RecordingCamera camera(folder.path(), preload);
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    const DeliveredFrame& frame = camera.frames[0];
    QCOMPARE(QSize(frame.width, frame.height), QSize(side, side));
    QCOMPARE(QSize(frame.recordWidth, frame.recordHeight), QSize(side, side));
    QCOMPARE(qint64(frame.imageSize), qint64(side) * side * 4);
    QCOMPARE(frame.pixelFormat, 3);
    // Uniform grey, so the rows hold no padding a decoder might leave unset.
    QVERIFY(frame.bytes == decodedBytes(path));
    QCOMPARE(log.lines(), QStringList());
}

void FaultsTest::pathsAreEscapedInWarnings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("logged");
    QTest::newRow("quote") << QStringLiteral("say \"cheese\"") << QStringLiteral("say \\\"cheese\\\"");
    QTest::newRow("backslash") << QStringLiteral("back\\slash\\") << QStringLiteral("back\\\\slash\\\\");
    QTest::newRow("newline") << QStringLiteral("two\nlines") << QStringLiteral("two\\nlines");
    QTest::newRow("tab") << QStringLiteral("tab\tbed") << QStringLiteral("tab\\tbed");
    QTest::newRow("control") << QStringLiteral("bell\x07") << QStringLiteral("bell\\u0007");
    QTest::newRow("non-ASCII") << QString::fromUtf8("caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x93\xb7")
                               << QString::fromUtf8("caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x93\xb7");
}

void FaultsTest::pathsAreEscapedInWarnings()
{
    QFETCH(QString, name);
    QFETCH(QString, logged);
#if defined(Q_OS_WIN)
    if (name.contains(QRegularExpression(QStringLiteral("[\"\\\\\\x00-\\x1f]"))))
        QSKIP("Windows file names cannot hold a double quote, a backslash or a control character");
#endif
    ImageFolder root;
    const QString base = root.path() + QLatin1Char('/');
    root.addFile(name + QStringLiteral("/bad.png"), QByteArray("corrupt"));
    root.addFolder(name + QStringLiteral(" empty"));

    LogCapture log;
    RecordingCamera missing(base + name + QStringLiteral(" missing"));
    QCOMPARE(missing->open(), 0);
    RecordingCamera empty(base + name + QStringLiteral(" empty"));
    QCOMPARE(empty->open(), 1);
    empty->trigger();
    RecordingCamera corrupt(base + name);
    QCOMPARE(corrupt->open(), 1);
    corrupt->trigger();
    QCOMPARE(log.lines(), (QStringList{
        QStringLiteral("debug: kxCamVirtual In"),
        QStringLiteral("warning: Virtual Camera: Folder(  \"%1%2 missing\"  ) not exist").arg(base, logged),
        QStringLiteral("debug: kxCamVirtual In"),
        QStringLiteral("warning: Virtual Camera: No image files in  \"%1%2 empty\"").arg(base, logged),
        QStringLiteral("debug: kxCamVirtual In"),
        QStringLiteral("warning: Virtual Camera: Could not load image file(  \"%1%2/bad.png\"  )").arg(base, logged)}));
}

void FaultsTest::readAheadCachesScheduledFiles_data()
{
    QTest::addColumn<bool>("loop");
    QTest::addColumn<int>("index");            // of the trigger watched, in the camera's order of six files
    QTest::addColumn<QList<int>>("cached");    // files read into the cache before it
    QTest::addColumn<QList<int>>("expected");  // files whose last page is cached after it
    QTest::newRow("hinting trigger") << false << 0 << QList<int>{} << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("trigger between hints") << false << 1 << QList<int>{} << QList<int>{};
    QTest::newRow("own file cached") << false << 0 << QList<int>{0} << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("batch's last file cached") << false << 0 << QList<int>{4} << QList<int>{4};
    QTest::newRow("wrap, loop") << true << 4 << QList<int>{} << QList<int>{0, 1, 2, 4, 5};
    QTest::newRow("wrap, loop, wrapped files cached") << true << 4 << QList<int>{0, 1, 2} << QList<int>{0, 1, 2, 4, 5};
    QTest::newRow("wrap, no loop") << false << 4 << QList<int>{} << QList<int>{4, 5};
}

void FaultsTest::readAheadCachesScheduledFiles()
{
#ifdef Q_OS_LINUX
    QFETCH(bool, loop);
    QFETCH(int, index);
    QFETCH(QList<int>, cached);
    QFETCH(QList<int>, expected);
    // On the build's disk, since a RAM disk keeps every file cached. Each file is a small BMP and half a MiB
    // its reader never reaches, so only the hint caches a file's last page.
    ImageFolder folder(QCoreApplication::applicationDirPath());
    for (int i = 0; i < 6; ++i) {
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        patternImage(i + 1, 1, QImage::Format_RGB32, i).save(&bmp, "BMP");
        folder.addFile(QStringLiteral("%1.bmp").arg(i), bmp.data() + QByteArray(512 * 1024, '\0'));
    }
    RecordingCamera camera(folder.path(), false, loop);
    QCOMPARE(camera->open(), 1);
    QStringList order;  // the camera's, from a first pass: a frame's width names its file
    for (const DeliveredFrame& frame : camera.triggerTimes(6))
        order.append(folder.path() + QStringLiteral("/%1.bmp").arg(frame.width - 1));
    // A probe that misses starts reading the file, and on a fast disk can find it read before it returns: the
    // file is then taken for cached. So the watched trigger has five tries; a fault in the schedule fails all.
    QList<int> resident;
    for (int attempt = 0; attempt < 5 && (attempt == 0 || resident != expected); ++attempt) {
        QCOMPARE(camera->start(), 1);
        camera.triggerTimes(index);
        const QString notEvicted = evictFromPageCache(order);
        if (!notEvicted.isEmpty())
            QSKIP(qPrintable(notEvicted));
        for (int i : cached) {
            QFile file(order[i]);
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().size() == file.size());
        }
        QCOMPARE(camera.triggerTimes(1).size(), 1);
        // The reads go on after the trigger: wait for them, and a little longer for any file not asked for.
        QElapsedTimer waited;
        waited.start();
        do {
            QTest::qSleep(10);
            resident.clear();
            for (int i = 0; i < order.size(); ++i)
                if (lastPageCached(order[i]))
                    resident.append(i);
        } while (waited.elapsed() < 1000 && (resident != expected || waited.elapsed() < 200));
    }
    QCOMPARE(resident, expected);
#else
    QSKIP("which files are cached is asked of Linux only");
#endif
}

// Every batch of the hint opens files; one descriptor left open per batch is
// the end of every file open well within a thousand triggers at a limit of 64.
void FaultsTest::readAheadLeavesNoDescriptorOpen()
{
#ifdef Q_OS_UNIX
    ImageFolder folder(QCoreApplication::applicationDirPath());
    QStringList paths;
    for (int i = 0; i < 40; ++i)
        paths.append(folder.addImage(QStringLiteral("%1.png").arg(i), patternImage(2, 2, QImage::Format_RGB32, i)));
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_NOFILE, &limit);
        int frames = 0;
        RecordingCamera camera(folder.path(), false, true);
        camera.setFrameHandler([&frames](ICameraObject&) { ++frames; });
        camera->open();
        for (int i = 0; i < 1000; ++i) {
            // Dropped from the cache at each pass, the files are advised as well as probed.
            if (i % paths.size() == 0)
                evictFromPageCache(paths);
            camera->trigger();
        }
        _exit(qMin(1000 - frames, 255));
    }
    int status = -1;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(status == 0, qPrintable(QStringLiteral("%1 triggers without a frame").arg(WEXITSTATUS(status))));
#else
    QSKIP("a child process with a lower descriptor limit is made on POSIX systems only");
#endif
}

QTEST_GUILESS_MAIN(FaultsTest)
#include "tst_faults.moc"
