// kxcam-play end to end: the program run as a user runs it, its output lines
// checked against a host-side decode of the same files.
#include "delivered_frame.h"
#include "frame_order.h"
#include "image_folder.h"
#include "name_tables.h"
#include "pace_schedule.h"
#include "pixel_checksum.h"

#include <QtTest>

#include <cmath>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#endif
#if defined(Q_OS_LINUX)
#include "memory_cgroup.h"
#endif

namespace {

struct Run {
    int status = -1;
    QList<QByteArray> lines;  // stdout
    QByteArray errors;        // stderr
};

// A Windows console program ends its lines with CR LF; elsewhere a CR is a fault.
QByteArray textLines(QByteArray output)
{
#if defined(Q_OS_WIN)
    output.replace("\r\n", "\n");
#endif
    return output;
}

Run finishedRun(QProcess& process)
{
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.lines = textLines(process.readAllStandardOutput()).split('\n');
    if (!run.lines.isEmpty() && run.lines.last().isEmpty())
        run.lines.removeLast();
    run.errors = textLines(process.readAllStandardError());
    return run;
}

Run play(const QStringList& arguments, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
         const QString& workingDirectory = QString())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(KXCAM_PLAYER_PATH), arguments);
    return finishedRun(process);
}

#if defined(Q_OS_UNIX)
// The player run by a shell script, which reaches it as "$@".
Run playInShell(const QString& script, const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), script, QStringLiteral("sh"),
                                                          QStringLiteral(KXCAM_PLAYER_PATH)} + arguments);
    return finishedRun(process);
}
#endif

QProcessEnvironment environmentWith(const QString& name, const QString& value)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(name, value);
    return environment;
}

// One frame as the text line shows it, or as a host expects it from a file.
struct Frame {
    int number = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    QString format;
    int bytes = 0;
    QString crc;
    QString file;  // relative to the folder; not part of the key

    QString key() const
    {
        return QStringLiteral("%1x%2 %3 %4 %5 %6").arg(width).arg(height).arg(depth).arg(format).arg(bytes).arg(crc);
    }
};

QString announcedName(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32: return QStringLiteral("RGB32");
    case QImage::Format_Grayscale8:
    case QImage::Format_Indexed8: return QStringLiteral("GRAY8");
    case QImage::Format_ARGB32: return QStringLiteral("RGB48");
    case QImage::Format_RGB888: return QStringLiteral("RGB24");
    case QImage::Format_RGB16: return QStringLiteral("GRAY16");
    default: return QStringLiteral("None");
    }
}

Frame expectedFrame(const QString& path)
{
    const QImage image(path);
    Frame frame;
    frame.width = image.width();
    frame.height = image.height();
    frame.depth = image.depth();
    frame.format = announcedName(image.format());
    frame.bytes = int(image.sizeInBytes());
    frame.crc = QStringLiteral("%1").arg(pixelChecksum(image), 8, 16, QLatin1Char('0'));
    return frame;
}

const QRegularExpression frameLinePattern(
    QStringLiteral("^frame (\\d+): (\\d+)x(\\d+), (\\d+) bit, (\\w+), (\\d+) bytes, crc32 ([0-9a-f]{8}), file (.+)$"));

// The frame lines between the camera line and the summary; a line of another
// form fails the test.
QList<Frame> parseFrames(const Run& run)
{
    QList<Frame> frames;
    for (const QByteArray& line : run.lines.mid(1)) {
        if (line.startsWith("summary: "))
            break;
        const QRegularExpressionMatch match = frameLinePattern.match(QString::fromUtf8(line));
        if (!match.hasMatch()) {
            QTest::qFail(qPrintable(QStringLiteral("not a frame line: ") + QString::fromUtf8(line)), __FILE__, __LINE__);
            return {};
        }
        frames.append({match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                       match.captured(4).toInt(), match.captured(5), match.captured(6).toInt(), match.captured(7),
                       match.captured(8)});
    }
    return frames;
}

QStringList keys(const QList<Frame>& frames)
{
    QStringList result;
    for (const Frame& frame : frames)
        result.append(frame.key());
    return result;
}

QStringList sortedKeys(const QList<Frame>& frames)
{
    QStringList result = keys(frames);
    result.sort();
    return result;
}

QList<Frame> expectedFrames(const QStringList& paths)
{
    QList<Frame> frames;
    for (const QString& path : paths)
        frames.append(expectedFrame(path));
    return frames;
}

QStringList expectedKeys(const QStringList& paths)
{
    return sortedKeys(expectedFrames(paths));
}

QString summaryOf(const Run& run)
{
    return run.lines.isEmpty() ? QString() : QString::fromUtf8(run.lines.last());
}

QStringList errorLines(const Run& run)
{
    return QString::fromUtf8(run.errors).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QImage uniformImage(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A folder covering the announced formats: RGB32, GRAY8 from Grayscale8 (with
// padded rows) and from Indexed8, RGB48 from ARGB32, and a subfolder.
QStringList addFormatMix(ImageFolder& folder)
{
    QImage indexed = patternImage(37, 11, QImage::Format_RGB32, 4).convertToFormat(QImage::Format_Indexed8);
    return {
        folder.addImage(QStringLiteral("rgb.png"), patternImage(33, 17, QImage::Format_RGB32, 1)),
        folder.addImage(QStringLiteral("grey.png"), patternImage(31, 9, QImage::Format_Grayscale8, 2)),
        folder.addImage(QStringLiteral("palette.bmp"), indexed),
        folder.addImage(QStringLiteral("alpha.png"), patternImage(16, 8, QImage::Format_ARGB32, 3)),
        folder.addImage(QStringLiteral("sub/photo.jpg"), patternImage(40, 30, QImage::Format_RGB32, 5), "JPEG"),
        folder.addImage(QStringLiteral("sub/deeper/grey.jpeg"), patternImage(24, 20, QImage::Format_Grayscale8, 6), "JPEG"),
    };
}

// Files named and dated as given (milliseconds after a fixed moment, to the
// nanosecond where the system can set it), in that order.
void addDatedFiles(ImageFolder& folder, const QStringList& names, const QList<double>& milliseconds)
{
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < names.size(); ++i) {
        const QString path = folder.addImage(names.at(i), patternImage(4, 3, QImage::Format_RGB32, i));
#if defined(Q_OS_UNIX)
        const qint64 nanoseconds = start.toMSecsSinceEpoch() * 1000000 + std::llround(milliseconds.value(i) * 1e6);
        const timespec time{time_t(nanoseconds / 1000000000), long(nanoseconds % 1000000000)};
        const timespec times[2] = {time, time};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
#else
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(start.addMSecs(qRound64(milliseconds.value(i))), QFileDevice::FileModificationTime));
#endif
    }
}

// The program's own notes on stderr, without the module's log lines.
QStringList notesOf(const Run& run)
{
    return errorLines(run).filter(QRegularExpression(QStringLiteral("^kxcam-play: ")));
}

QString crcOf(const QString& path)
{
    return expectedFrame(path).crc;
}

// The crc32 of the bytes a file defines, as the camera delivers them.
QString definedCrc(const QString& path)
{
    const QImage decoded(path);
    QByteArray bytes = definedBytes(path);
    const QImage defined(reinterpret_cast<const uchar*>(bytes.constData()), decoded.width(), decoded.height(),
                         decoded.bytesPerLine(), decoded.format());
    return QStringLiteral("%1").arg(pixelChecksum(defined), 8, 16, QLatin1Char('0'));
}

#if defined(Q_OS_LINUX)
// Whether the process sleeps writing to a full pipe with no signal waiting
// for it (one sent before has been handled), as the kernel tells.
bool blockedOnPipeWrite(qint64 pid)
{
    QFile waitChannel(QStringLiteral("/proc/%1/wchan").arg(pid));
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!waitChannel.open(QIODevice::ReadOnly) || !waitChannel.readAll().contains("pipe_write")
        || !status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = status.readAll();
    return fields.contains("\nSigPnd:\t0000000000000000\n") && fields.contains("\nShdPnd:\t0000000000000000\n");
}

// Polled outside the event loop, in which QProcess would read the pipe empty.
bool waitUntilBlockedOnPipeWrite(qint64 pid)
{
    QElapsedTimer waited;
    waited.start();
    while (!blockedOnPipeWrite(pid)) {
        if (waited.hasExpired(60000))
            return false;
        QThread::msleep(10);
    }
    return true;
}
#endif

}  // namespace

class PlayerTest : public QObject {
    Q_OBJECT

private slots:
    void checksumIsCrc32();
    void framesOfFolder_data();
    void framesOfFolder();
    void bundledSampleSet();
    void undecodableFile_data();
    void undecodableFile();
    void preloadWithinMemoryLimit_data();
    void preloadWithinMemoryLimit();
    void loggingRules_data();
    void loggingRules();
    void emptyFolder_data();
    void emptyFolder();
    void frameLimit_data();
    void frameLimit();
    void pacedTriggers();
    void paceSchedule_data();
    void paceSchedule();
    void checkAgainstManifest_data();
    void checkAgainstManifest();
    void jsonLines();
    void filesFollowTheCamera_data();
    void filesFollowTheCamera();
    void quietWritesSummaryAlone();
    void saveRoundTrip();
    void contactSheet_data();
    void contactSheet();
    void exitStatus_data();
    void exitStatus();
    void interruptEndsWithSummary_data();
    void interruptEndsWithSummary();
    void outputFailure_data();
    void outputFailure();
    void dashFolderAfterDoubleDash();
};

void PlayerTest::checksumIsCrc32()
{
    // CRC-32's check value, over one row's pixels and not its three bytes of padding.
    QImage row(9, 1, QImage::Format_Grayscale8);
    std::memcpy(row.bits(), "123456789xyz", 12);
    QCOMPARE(pixelChecksum(row), 0xcbf43926u);
}

void PlayerTest::framesOfFolder_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("cameraLine");
    const QByteArray unseeded("camera: 0 bits per pixel before the first frame (pixel format None)");
    QTest::newRow("decoded at each trigger") << QStringList() << unseeded;
    QTest::newRow("preloaded") << QStringList{QStringLiteral("--preload")} << unseeded;
    // The pixel format only seeds the depth; the frames stay as decoded.
    QTest::newRow("pixel format seeds the depth")
        << QStringList{QStringLiteral("--pixel-format"), QStringLiteral("RGB24")}
        << QByteArray("camera: 24 bits per pixel before the first frame (pixel format RGB24)");
}

void PlayerTest::framesOfFolder()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, cameraLine);
    ImageFolder folder;
    const QStringList paths = addFormatMix(folder);
    folder.addFile(QStringLiteral("notes.txt"), "not an image");

    const Run run = play(options + QStringList{folder.path()});
    QCOMPARE(run.status, 0);
    const QList<Frame> frames = parseFrames(run);
    QCOMPARE(frames.size(), paths.size());
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(frames.at(i).number, i + 1);
    QCOMPARE(sortedKeys(frames), expectedKeys(paths));
    QVERIFY2(summaryOf(run).startsWith(QStringLiteral("summary: 6 frames delivered, 1 trigger without a frame, 0 warnings (0 before the first trigger), ")),
             qPrintable(summaryOf(run)));
    QCOMPARE(run.lines.first(), cameraLine);
    QCOMPARE(run.lines.size(), paths.size() + 2);
}

void PlayerTest::bundledSampleSet()
{
    QStringList paths;
    QDirIterator it(QStringLiteral(KXCAM_SAMPLES_DIR), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    QVERIFY(paths.size() >= 8);

    const Run run = play({});
    QCOMPARE(run.status, 0);
    const QList<Frame> frames = parseFrames(run);
    // In name order: checkerboard, colour bars, fade, frames 1 to 4, grey ramp.
    const QStringList inOrder = inFrameOrder(paths, QStringLiteral(KXCAM_SAMPLES_DIR));
    QCOMPARE(keys(frames), keys(expectedFrames(inOrder)));
    QCOMPARE(frames.last().file, QStringLiteral("grey_ramp.png"));
    QSet<QString> formats;
    for (const Frame& frame : frames)
        formats.insert(frame.format);
    QCOMPARE(formats, (QSet<QString>{QStringLiteral("RGB32"), QStringLiteral("GRAY8"), QStringLiteral("RGB48")}));
    QSet<QString> suffixes;
    for (const QString& path : paths)
        suffixes.insert(QFileInfo(path).suffix());
    QCOMPARE(suffixes, (QSet<QString>{QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("bmp")}));
}

void PlayerTest::undecodableFile_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("dataLimit");  // ulimit -d for the player, in KiB; empty: none
    QTest::addColumn<QString>("cacheEnd");   // why the preload cache ended early; empty: it did not
    // The truncated JPEG makes Qt warn twice as it decodes it: at its trigger,
    // or while the camera opens when it preloads. Counted the same in both modes.
    QTest::newRow("decoded at each trigger")
        << QStringList() << QStringLiteral("summary: 2 frames delivered, 3 triggers without a frame, 4 warnings (0 before the first trigger), ")
        << QString() << QString();
    QTest::newRow("preloaded") << QStringList{QStringLiteral("--preload")}
                               << QStringLiteral("summary: 2 frames delivered, 3 triggers without a frame, 4 warnings (2 before the first trigger), ")
                               << QString() << QString();
    // Followed: --frames counts the two frames, which never come, so --idle
    // ends the run, once the files, written just before it, have settled
    // (200 ms) and played; the waits are no triggers.
    QTest::newRow("followed, frames counted")
        << QStringList{"--follow", "--frames", "3", "--idle", "1"}
        << QStringLiteral("summary: 2 frames delivered, 2 triggers without a frame, 4 warnings (0 before the first trigger), ")
        << QString() << QString();
#if defined(Q_OS_UNIX) && !defined(__SANITIZE_ADDRESS__)
    // Twelve more 20 MB frames in 100 MB of data: the decodes that the limit
    // refuses are left to their triggers, never called broken files. (A
    // sanitizer's own mappings do not fit in such a limit.)
    QTest::newRow("preloaded within a data limit")
        << QStringList{QStringLiteral("--preload")}
        << QStringLiteral("summary: 14 frames delivered, 3 triggers without a frame, 5 warnings (")
        << QStringLiteral("100000") << QStringLiteral("the system refused memory for the rest");
#endif
}

void PlayerTest::undecodableFile()
{
    QFETCH(QStringList, options);
    QFETCH(QString, summary);
    QFETCH(QString, dataLimit);
    QFETCH(QString, cacheEnd);
    ImageFolder folder;
    QStringList good{folder.addImage(QStringLiteral("a.png"), patternImage(5, 3, QImage::Format_RGB32, 1)),
                     folder.addImage(QStringLiteral("b.bmp"), patternImage(7, 3, QImage::Format_RGB32, 2))};
    const QString bad = folder.addFile(QStringLiteral("broken.png"), "these bytes are no image at all");
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    uniformImage(64, 64, qRgb(255, 0, 0)).save(&buffer, "JPEG");
    const QString truncated = folder.addFile(QStringLiteral("truncated.jpg"), jpeg.left(jpeg.size() / 2));
    if (!dataLimit.isEmpty()) {
        const QImage large = uniformImage(2448, 2048, qRgb(0, 90, 200));
        for (int i = 0; i < 12; ++i)
            good.append(folder.addImage(QStringLiteral("large%1.jpg").arg(i), large));
    }

#if defined(Q_OS_UNIX)
    const Run run = dataLimit.isEmpty() ? play(options + QStringList{folder.path()})
                                        : playInShell(QStringLiteral("ulimit -d %1 && exec \"$@\"").arg(dataLimit),
                                                      options + QStringList{folder.path()});
#else
    const Run run = play(options + QStringList{folder.path()});
#endif
    QCOMPARE(run.status, 0);
    QCOMPARE(sortedKeys(parseFrames(run)), expectedKeys(good));
    QVERIFY2(summaryOf(run).startsWith(summary), qPrintable(summaryOf(run)));
    QStringList couldNotLoad = errorLines(run).filter(QStringLiteral("Virtual Camera: Could not load image file("));
    couldNotLoad.sort();
    QCOMPARE(couldNotLoad, (QStringList{QStringLiteral("Virtual Camera: Could not load image file(  \"%1\"  )").arg(bad),
                                        QStringLiteral("Virtual Camera: Could not load image file(  \"%1\"  )").arg(truncated)}));
    const QRegularExpression cacheEndLine(QStringLiteral("^Virtual Camera: Preloaded \\d+ of 16 images\\(  \"%1\"  \\): %2$")
                                              .arg(QRegularExpression::escape(folder.path()), cacheEnd));
    QCOMPARE(errorLines(run).filter(QStringLiteral("Virtual Camera: Preloaded ")).size(), cacheEnd.isEmpty() ? 0 : 1);
    QCOMPARE(errorLines(run).filter(cacheEndLine).size(), cacheEnd.isEmpty() ? 0 : 1);
}

void PlayerTest::preloadWithinMemoryLimit_data()
{
    QTest::addColumn<bool>("cgroup");  // else an address-space limit
    QTest::newRow("address-space limit less what the player has mapped") << false;
    QTest::newRow("memory cgroup's limit less its usage") << true;
}

// The player gets 1 GiB: its budget is what it has left of that less the 512
// MiB reserve, so the cache ends early and the rest plays at its trigger.
void PlayerTest::preloadWithinMemoryLimit()
{
#if !defined(Q_OS_LINUX)
    QSKIP("the budget sees address-space limits and memory cgroups on Linux only");
#elif defined(__SANITIZE_ADDRESS__)
    QSKIP("a sanitizer's own memory does not fit in such a limit");
#else
    QFETCH(bool, cgroup);
    constexpr qint64 mebibyte = 1024 * 1024;
    constexpr qint64 limit = 1024 * mebibyte;
    constexpr qint64 reserve = 512 * mebibyte;
    constexpr qint64 frameBytes = 2448 * 2048 * 4;
    // More frames than the limit less the reserve holds, whatever the player has taken.
    constexpr int count = 28;
    ImageFolder folder;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(uniformImage(2448, 2048, qRgb(0, 90, 200)).save(&buffer, "JPEG"));
    for (int i = 0; i < count; ++i)
        folder.addFile(QStringLiteral("large%1.jpg").arg(i, 2, 10, QLatin1Char('0')), jpeg);
    const QStringList arguments{QStringLiteral("--preload"), folder.path()};

    // Above the budget by at least what the player has taken when it preloads.
    qint64 budgetAbove = limit - reserve;
    Run run;
    if (cgroup) {
        // The group's usage starts with a file in shared memory that the shell writes once it has joined.
        constexpr qint64 taken = 256 * mebibyte;
        const MemoryCgroup group(limit);
        if (!group.failure().isEmpty())
            QSKIP(qPrintable(group.failure()));
        if (QStorageInfo(QStringLiteral("/dev/shm")).bytesAvailable() < taken)
            QSKIP("shared memory (/dev/shm) has no room for the group's usage");
        const ImageFolder shared(QStringLiteral("/dev/shm"));
        run = playInShell(QStringLiteral("echo $$ > '%1' && head -c %2 /dev/zero > '%3/taken' && exec \"$@\"")
                              .arg(group.processesFile())
                              .arg(taken)
                              .arg(shared.path()),
                          arguments);
        budgetAbove -= taken;
    } else {
        run = playInShell(QStringLiteral("ulimit -v %1 && exec \"$@\"").arg(limit / 1024), arguments);
    }
    QCOMPARE(run.status, 0);
    const QString frameKey = expectedFrame(folder.path() + QStringLiteral("/large00.jpg")).key();
    QCOMPARE(keys(parseFrames(run)), QVector<QString>(count, frameKey).toList());
    const QStringList cacheEnds = errorLines(run).filter(QStringLiteral("Virtual Camera: Preloaded "));
    QCOMPARE(cacheEnds.size(), 1);
    const QRegularExpressionMatch cacheEnd =
        QRegularExpression(QStringLiteral("^Virtual Camera: Preloaded (\\d+) of %1 images\\(  \"%2\"  \\): the rest "
                                          "would pass the memory budget of (\\d+) MiB$")
                               .arg(count)
                               .arg(QRegularExpression::escape(folder.path())))
            .match(cacheEnds.first());
    QVERIFY2(cacheEnd.hasMatch(), qPrintable(cacheEnds.first()));
    const qint64 cached = cacheEnd.captured(1).toLongLong();
    const qint64 budgetMiB = cacheEnd.captured(2).toLongLong();
    QVERIFY2(cached >= 1 && budgetMiB * mebibyte < budgetAbove, qPrintable(cacheEnds.first()));
    // As many frames as the budget, given in whole MiB, holds.
    QVERIFY2(cached * frameBytes < (budgetMiB + 1) * mebibyte && (cached + 1) * frameBytes > budgetMiB * mebibyte,
             qPrintable(cacheEnds.first()));
#endif
}

void PlayerTest::loggingRules_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("warningsShown");
    QTest::addColumn<bool>("debugShown");
    QTest::addColumn<bool>("cameraLinesShown");
    QTest::newRow("warnings off by variable") << QStringLiteral("QT_LOGGING_RULES") << QStringLiteral("*.warning=false")
                                              << false << true << false;
    QTest::newRow("warnings off in qtlogging.ini") << QStringLiteral("QT_LOGGING_CONF")
                                                   << QStringLiteral("[Rules]\ndefault.warning=false\n") << false << true
                                                   << false;
    QTest::newRow("module's debug lines off") << QStringLiteral("QT_LOGGING_RULES")
                                              << QStringLiteral("default.debug=false") << true << false << false;
    QTest::newRow("the camera's lines on") << QStringLiteral("QT_LOGGING_RULES")
                                           << QStringLiteral("kxcam.camera.debug=true") << true << true << true;
    QTest::newRow("the camera's lines on in qtlogging.ini")
        << QStringLiteral("QT_LOGGING_CONF") << QStringLiteral("[Rules]\n*.debug=true\n") << true << true << true;
}

// The end of a folder is told from the module's warnings, which the user's
// rules may hide from the output but not from the player.
void PlayerTest::loggingRules()
{
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QFETCH(bool, warningsShown);
    QFETCH(bool, debugShown);
    QFETCH(bool, cameraLinesShown);
    ImageFolder folder;
    folder.addImage(QStringLiteral("a.png"), patternImage(5, 3, QImage::Format_RGB32, 1));
    folder.addFile(QStringLiteral("b.png"), "no image");
    folder.addFile(QStringLiteral("c.png"), "no image either");
    QString setting = value;
    if (variable == QLatin1String("QT_LOGGING_CONF"))
        setting = folder.addFile(QStringLiteral("qtlogging.ini"), value.toUtf8());

    const Run run = play({folder.path()}, environmentWith(variable, setting));
    QCOMPARE(run.status, 0);
    QVERIFY2(summaryOf(run).startsWith(QStringLiteral("summary: 1 frame delivered, 3 triggers without a frame, 2 warnings (0 before the first trigger), ")),
             qPrintable(summaryOf(run)));
    const QStringList lines = errorLines(run);
    QCOMPARE(lines.filter(QStringLiteral("Virtual Camera: Could not load image file(")).size(), warningsShown ? 2 : 0);
    QCOMPARE(lines.contains(QStringLiteral("kxCamVirtual In")), debugShown);
    // The player reads the camera's lines whatever the rules; it prints them as the rules say.
    QStringList cameraLines = lines.filter(QRegularExpression(QStringLiteral("^kxcam\\.camera: ")));
    cameraLines.replaceInStrings(QRegularExpression(QStringLiteral(" in \\d+\\.\\d{3} s$")), QStringLiteral(" in S s"));
    const QString prefix = QStringLiteral("kxcam.camera: Virtual Camera: ");
    const QStringList expected{prefix + QStringLiteral("scanned \"%1\": 3 files in S s").arg(folder.path()),
                               prefix + QStringLiteral("file 1 of 3 \"a.png\""), prefix + QStringLiteral("file 2 of 3 \"b.png\""),
                               prefix + QStringLiteral("file 3 of 3 \"c.png\""), prefix + QStringLiteral("end of the list, 3 files")};
    QCOMPARE(cameraLines, cameraLinesShown ? expected : QStringList());
}

void PlayerTest::emptyFolder_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("hiddenAndLinked");
    QTest::addColumn<bool>("root");
    QTest::addColumn<QString>("added");  // an image written once the player has warned; empty: none
    QTest::newRow("once") << QStringList() << false << false << QString();
    QTest::newRow("loop") << QStringList{QStringLiteral("--loop")} << false << false << QString();
    // Followed, the folder's end is a wait: the warning's trigger is the only
    // one shown, and --idle ends the run as its end would.
    QTest::newRow("followed, --idle") << QStringList{"--follow", "--idle", "0.2"} << false << false << QString();
    // --frames counts frames, not the warning's trigger nor the waits.
    QTest::newRow("followed, a file added while it runs")
        << QStringList{"--follow", "--frames", "1"} << false << false << QStringLiteral("late.png");
#if defined(Q_OS_UNIX)
    // Nothing the camera lists, although every name ends in .png.
    QTest::newRow("hidden files and links") << QStringList() << true << false << QString();
    QTest::newRow("hidden files and links, loop") << QStringList{QStringLiteral("--loop")} << true << false << QString();
    // The camera never scans a file-system root.
    QTest::newRow("root, loop") << QStringList{QStringLiteral("--loop")} << false << true << QString();
#endif
}

void PlayerTest::emptyFolder()
{
    QFETCH(QStringList, options);
    QFETCH(bool, hiddenAndLinked);
    QFETCH(bool, root);
    QFETCH(QString, added);
    ImageFolder folder;
    folder.addFile(QStringLiteral("readme.txt"), "no images here");
    if (hiddenAndLinked) {
        ImageFolder outside;
        const QString image = outside.addImage(QStringLiteral("a.png"), patternImage(5, 3, QImage::Format_RGB32, 1));
        for (int i = 0; i < 5; ++i)
            QVERIFY(QFile::link(image, QDir(folder.path()).filePath(QStringLiteral("link%1.png").arg(i))));
        folder.addImage(QStringLiteral(".hidden.png"), patternImage(5, 3, QImage::Format_RGB32, 2));
        folder.addImage(QStringLiteral(".hidden/inside.png"), patternImage(5, 3, QImage::Format_RGB32, 3));
    }
    const QString path = root ? QDir::rootPath() : folder.path();

    QProcess process;
    process.start(QStringLiteral(KXCAM_PLAYER_PATH), options + QStringList{path});
    QByteArray warned;
    QString late;
    if (!added.isEmpty()) {
        process.setReadChannel(QProcess::StandardError);
        while (!warned.contains("No image files in") && process.waitForReadyRead(10000))
            warned += process.readAllStandardError();
        late = folder.addImage(added, patternImage(6, 2, QImage::Format_RGB32, 4));
    }
    Run run = finishedRun(process);
    run.errors.prepend(textLines(warned));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.lines.size(), late.isEmpty() ? 2 : 3);
    if (!late.isEmpty())
        QCOMPARE(keys(parseFrames(run)), expectedKeys({late}));
    const QString frames = late.isEmpty() ? QStringLiteral("0 frames") : QStringLiteral("1 frame");
    QVERIFY2(summaryOf(run).startsWith(QStringLiteral("summary: %1 delivered, 1 trigger without a frame, 1 warning (0 before the first trigger), ").arg(frames)),
             qPrintable(summaryOf(run)));
    QVERIFY(errorLines(run).contains(QStringLiteral("Virtual Camera: No image files in  \"%1\"").arg(path)));
}

void PlayerTest::frameLimit_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("summary");
    QTest::newRow("loop, 8 triggers") << QStringList{QStringLiteral("--loop"), QStringLiteral("--frames"), QStringLiteral("8")}
                                      << 8 << QStringLiteral("summary: 8 frames delivered, 0 triggers without a frame, ");
    QTest::newRow("fewer than the files") << QStringList{QStringLiteral("--frames"), QStringLiteral("2")} << 2
                                          << QStringLiteral("summary: 2 frames delivered, 0 triggers without a frame, ");
    QTest::newRow("more than the files") << QStringList{QStringLiteral("--frames"), QStringLiteral("10")} << 3
                                         << QStringLiteral("summary: 3 frames delivered, 1 trigger without a frame, ");
    QTest::newRow("loop, preloaded") << QStringList{QStringLiteral("--loop"), QStringLiteral("--preload"), QStringLiteral("--frames=7")}
                                     << 7 << QStringLiteral("summary: 7 frames delivered, 0 triggers without a frame, ");
}

void PlayerTest::frameLimit()
{
    QFETCH(QStringList, options);
    QFETCH(int, frames);
    QFETCH(QString, summary);
    ImageFolder folder;
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths.append(folder.addImage(QStringLiteral("f%1.png").arg(i), patternImage(4 + i, 3, QImage::Format_RGB32, i)));

    const Run run = play(options + QStringList{folder.path()});
    QCOMPARE(run.status, 0);
    const QStringList played = keys(parseFrames(run));
    QCOMPARE(played.size(), frames);
    // Wrapping repeats the folder's order.
    for (int i = 3; i < played.size(); ++i)
        QCOMPARE(played.at(i), played.at(i - 3));
    const QStringList expected = expectedKeys(paths);
    QStringList firstPass = played.mid(0, 3);
    firstPass.sort();
    if (frames >= 3)
        QCOMPARE(firstPass, expected);
    for (const QString& key : firstPass)
        QVERIFY(expected.contains(key));
    QCOMPARE(QSet<QString>(firstPass.cbegin(), firstPass.cend()).size(), firstPass.size());
    QVERIFY2(summaryOf(run).startsWith(summary), qPrintable(summaryOf(run)));
}

void PlayerTest::pacedTriggers()
{
    ImageFolder folder;
    folder.addImage(QStringLiteral("f.png"), patternImage(4, 4, QImage::Format_RGB32, 1));
    const Run run = play({QStringLiteral("--json"), QStringLiteral("--quiet"), QStringLiteral("--loop"),
                          QStringLiteral("--frames"), QStringLiteral("6"), QStringLiteral("--fps"), QStringLiteral("20"),
                          folder.path()});
    QCOMPARE(run.status, 0);
    const QJsonObject summary = QJsonDocument::fromJson(run.lines.value(0)).object().value(QStringLiteral("summary")).toObject();
    QCOMPARE(summary.value(QStringLiteral("frames")).toInt(), 6);
    // Six triggers at 20 a second are five intervals of 50 ms apart: a rate of
    // 20 at most, not the 24 that counting frames would give.
    QVERIFY2(summary.value(QStringLiteral("frameSpanSeconds")).toDouble() >= 0.25, qPrintable(run.lines.value(0)));
    const double rate = summary.value(QStringLiteral("framesPerSecond")).toDouble();
    QVERIFY2(rate > 10.0 && rate <= 20.5, qPrintable(run.lines.value(0)));
    // Every figure over the same span: the rates follow from it, the frames and their bytes.
    const double span = summary.value(QStringLiteral("frameSpanSeconds")).toDouble();
    QCOMPARE(rate * span, 5.0);
    QCOMPARE(summary.value(QStringLiteral("megabytesPerSecond")).toDouble(),
             rate * summary.value(QStringLiteral("bytes")).toDouble() / 6 / 1e6);
    QVERIFY2(summary.value(QStringLiteral("openSeconds")).toDouble() > 0.0, qPrintable(run.lines.value(0)));
}

void PlayerTest::paceSchedule_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<double>>("modified");  // milliseconds after the first file's time
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<double>>("due");  // seconds after the first trigger, for every trigger
    QTest::addColumn<QStringList>("notes");
    const QStringList abcd{"a.png", "b.png", "c.png", "d.png"};
    const QStringList mtime{"--pace", "mtime"};
    const QString after = QStringLiteral("; each such file plays right after the file before it");
    // Past the last file comes one typical interval, the median of the forward ones.
    QTest::newRow("file times") << abcd << QList<double>{0, 100, 250, 300} << mtime
                                << QList<double>{0, 0.1, 0.25, 0.3, 0.4} << QStringList();
    // The first file again is a new pass, not a time going back.
    QTest::newRow("file times, twice round") << abcd << QList<double>{0, 100, 250, 300} << mtime + QStringList{"--loop", "--frames", "6"}
                                             << QList<double>{0, 0.1, 0.25, 0.3, 0.4, 0.5} << QStringList();
    QTest::newRow("file times, twice as fast") << abcd << QList<double>{0, 100, 250, 300} << mtime + QStringList{"--speed", "2"}
                                               << QList<double>{0, 0.05, 0.125, 0.15, 0.2} << QStringList();
    QTest::newRow("a time going back") << abcd << QList<double>{0, 200, 100, 300} << mtime
                                       << QList<double>{0, 0.2, 0.2, 0.4, 0.6}
                                       << QStringList{"kxcam-play: pace: the time of c.png goes back by 0.100 s" + after};
    QTest::newRow("going back, told once over two passes")
        << abcd << QList<double>{0, 200, 100, 300} << mtime + QStringList{"--loop", "--frames", "6"}
        << QList<double>{0, 0.2, 0.2, 0.4, 0.6, 0.8}
        << QStringList{"kxcam-play: pace: the time of c.png goes back by 0.100 s" + after};
    QTest::newRow("a jump") << abcd << QList<double>{0, 100, 200, 5200} << mtime << QList<double>{0, 0.1, 0.2, 0.2, 0.3}
                            << QStringList{"kxcam-play: pace: the time of d.png jumps ahead by 5.000 s (more than 1.000 s)" + after};
    // Ten typical intervals of 10 ms are 0.1 s, but a jump is never less than a second.
    QTest::newRow("a gap short of a second, no jump") << abcd << QList<double>{0, 10, 20, 520} << mtime
                                                       << QList<double>{0, 0.01, 0.02, 0.52, 0.53} << QStringList();
    QTest::newRow("a gap just past a second, a jump")
        << abcd << QList<double>{0, 10, 20, 1021} << mtime << QList<double>{0, 0.01, 0.02, 0.02, 0.03}
        << QStringList{"kxcam-play: pace: the time of d.png jumps ahead by 1.001 s (more than 1.000 s)" + after};
    // Recorded faster than 1 kHz: the times' nanoseconds are kept.
    QTest::newRow("file times 0.5 ms apart") << abcd << QList<double>{0, 0.5, 1, 1.5} << mtime
                                             << QList<double>{0, 0.0005, 0.001, 0.0015, 0.002} << QStringList();
    const QStringList named{"f_000.png", "f_040.png", "f_100.png"};
    QTest::newRow("milliseconds in names") << named << QList<double>{300, 200, 100} << QStringList{"--pace", "name:f_(?<ms>\\d+)"}
                                           << QList<double>{0, 0.04, 0.1, 0.16} << QStringList();
    QTest::newRow("microseconds in names") << named << QList<double>() << QStringList{"--pace", "name:f_(?<us>\\d+)"}
                                           << QList<double>{0, 40e-6, 100e-6, 160e-6} << QStringList();
    QTest::newRow("nanoseconds in names") << named << QList<double>() << QStringList{"--pace", "name:f_(?<ns>\\d+)"}
                                          << QList<double>{0, 40e-9, 100e-9, 160e-9} << QStringList();
    QTest::newRow("seconds in names, ten times as fast")
        << QStringList{"t1.5.png", "t2.png", "t3.png"} << QList<double>() << QStringList{"--pace", "name:t(?<s>[\\d.]+)\\.png", "--speed", "10"}
        << QList<double>{0, 0.05, 0.15, 0.25} << QStringList();
    QTest::newRow("a name without a time")
        << QStringList{"f_000.png", "f_050.png", "f_150.png", "f_x.png"} << QList<double>() << QStringList{"--pace", "name:_(?<ms>\\d+)"}
        << QList<double>{0, 0.05, 0.15, 0.15, 0.25} << QStringList{"kxcam-play: pace: f_x.png has no time" + after};
    QTest::newRow("fixed rate, twice as fast") << QStringList{"a.png", "b.png"} << QList<double>() << QStringList{"--fps", "20", "--speed", "2"}
                                               << QList<double>{0, 0.025, 0.05} << QStringList();
}

// The schedule as the program reports it, trigger by trigger; the files are
// played at it, and the summary says how far the run fell behind it.
void PlayerTest::paceSchedule()
{
    QFETCH(QStringList, names);
    QFETCH(QList<double>, modified);
    QFETCH(QStringList, options);
#if !defined(Q_OS_UNIX)
    for (const double milliseconds : modified)
        if (milliseconds != std::floor(milliseconds))
            QSKIP("the tests set a time finer than a millisecond with utimensat, on POSIX systems only");
#endif
    QFETCH(QList<double>, due);
    QFETCH(QStringList, notes);
    ImageFolder folder;
    addDatedFiles(folder, names, modified);
    const Run run = play(options + QStringList{QStringLiteral("--json"), folder.path()});
    QCOMPARE(run.status, 0);
    QCOMPARE(notesOf(run), notes);
    QCOMPARE(run.lines.size(), due.size() + 2);
    for (int i = 0; i < due.size(); ++i) {
        const QJsonObject record = QJsonDocument::fromJson(run.lines.at(i + 1)).object();
        QVERIFY2(qAbs(record.value(QStringLiteral("due")).toDouble(-1.0) - due.at(i)) < 1e-9, run.lines.at(i + 1).constData());
    }
    const QJsonObject summary = QJsonDocument::fromJson(run.lines.last()).object().value(QStringLiteral("summary")).toObject();
    // Every file decodes, so the last frame came from the trigger due at its place.
    const double lastFrameDue = due.at(summary.value(QStringLiteral("frames")).toInt() - 1);
    QVERIFY2(summary.value(QStringLiteral("frameSpanSeconds")).toDouble() >= lastFrameDue - PaceSchedule::lateAfterSeconds,
             run.lines.last().constData());
    QVERIFY(summary.value(QStringLiteral("lateTriggers")).isDouble());
    QVERIFY(summary.value(QStringLiteral("largestLagSeconds")).isDouble());
}

void PlayerTest::checkAgainstManifest_data()
{
    QTest::addColumn<QString>("change");  // to the folder or to the manifest, after the manifest was written
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");  // a note on stderr, then the check's on stdout; %1 the manifest, %2 and %3 crc32s
    const QString refused = QStringLiteral("kxcam-play: the manifest %1 cannot be checked against: ");
    QTest::newRow("agrees") << "none" << 0 << QStringList{"check: the replay agrees with %1, trigger by trigger (4 triggers)"};
    QTest::newRow("one frame differs")
        << "rewrite b.png" << 3
        << QStringList{"check: trigger 2, b.png: crc32 %2 (manifest crc32 %3)", "check: 1 of 4 triggers differs from %1"};
    QTest::newRow("a file more")
        << "add d.png" << 3
        << QStringList{"check: trigger 4, d.png: file d.png (manifest no file), a frame (manifest no frame)",
                       "check: 1 of 4 triggers differs from %1"};
    QTest::newRow("a file less")
        << "remove c.png" << 3
        << QStringList{"check: trigger 3, c.png: no file (manifest file c.png), no frame (manifest a frame)",
                       "check: trigger 4, no file: not replayed, the replay ended at trigger 3",
                       "check: 2 of 4 triggers differ from %1"};
    QStringList firstTen{"check: trigger 4, d.png: no file (manifest file d.png), no frame (manifest a frame)"};
    for (char file = 'e'; file <= 'm'; ++file)
        firstTen.append(QStringLiteral("check: trigger %1, %2.png: not replayed, the replay ended at trigger 4")
                            .arg(file - 'a' + 1)
                            .arg(file));
    QTest::newRow("twelve differ, the first ten shown")
        << "remove d.png to n.png" << 3 << firstTen + QStringList{"check: 12 of 15 triggers differ from %1; the first 10 shown"};
#if defined(Q_OS_UNIX) && !defined(__SANITIZE_ADDRESS__)
    // A failure outranks the difference. /dev/full as in outputFailure, and like it not under the sanitizer.
    QTest::newRow("one frame differs, the contact sheet fails")
        << "rewrite b.png, contact sheet on a full device" << 1
        << QStringList{"kxcam-play: cannot write the contact sheet /dev/full: No space left on device",
                       "check: trigger 2, b.png: crc32 %2 (manifest crc32 %3)", "check: 1 of 4 triggers differs from %1"};
#endif
    QTest::newRow("cut short") << "truncate" << 1 << QStringList{refused + "it ends before its summary line: it is cut short"};
    QTest::newRow("a line cut in two") << "split" << 1 << QStringList{refused + "line 3 is not a JSON object"};
    QTest::newRow("a damaged record") << "no crc32" << 1
                                      << QStringList{refused + "line 2: the frame lacks a pixel format or a crc32 of 8 hex digits"};
    QTest::newRow("another record format")
        << "format 2" << 1
        << QStringList{refused + "it holds record format 2, written by kxcam-play 0.9.0; this kxcam-play reads format 1: "
                                 "write the manifest again with it"};
    const QString notOurs = refused + "its first line does not name kxcam-play and a record format, as kxcam-play --json writes it "
                                      "(a manifest of another program, or of a version before record formats)";
    QTest::newRow("no record format") << "no format" << 1 << QStringList{notOurs};
    QTest::newRow("another program's") << "program kxcam-view" << 1 << QStringList{notOurs};
    QTest::newRow("the last records lost") << "drop 2" << 1 << QStringList{refused + "its summary counts 3 frames, its records 2"};
    QTest::newRow("written with --quiet") << "quiet" << 1 << QStringList{notOurs};
    QTest::newRow("missing") << "delete" << 1 << QStringList{"kxcam-play: cannot read the manifest %1: "};
}

// A replay against the manifest an earlier --json run wrote of the same folder.
void PlayerTest::checkAgainstManifest()
{
    QFETCH(QString, change);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    ImageFolder folder;
    QStringList names{"a.png", "b.png", "c.png"};
    if (change == QLatin1String("remove d.png to n.png"))
        for (char file = 'd'; file <= 'n'; ++file)
            names.append(QStringLiteral("%1.png").arg(file));
    addDatedFiles(folder, names, {});
    const QStringList quiet{QStringLiteral("--quiet")};
    const Run written = play((change == QLatin1String("quiet") ? quiet : QStringList()) + QStringList{QStringLiteral("--json"), folder.path()});
    QCOMPARE(written.status, 0);
    QList<QByteArray> records = written.lines;
    if (change == QLatin1String("drop 2"))
        records.erase(records.end() - 3, records.end() - 1);
    QByteArray manifest = records.join('\n') + '\n';
    const QString before = crcOf(folder.path() + QStringLiteral("/b.png"));
    if (change.startsWith(QLatin1String("rewrite b.png")))
        folder.addImage(QStringLiteral("b.png"), patternImage(4, 3, QImage::Format_RGB32, 9));
    else if (change == QLatin1String("add d.png"))
        folder.addImage(QStringLiteral("d.png"), patternImage(4, 3, QImage::Format_RGB32, 9));
    else if (change == QLatin1String("remove c.png"))
        QVERIFY(QFile::remove(folder.path() + QStringLiteral("/c.png")));
    else if (change == QLatin1String("remove d.png to n.png"))
        for (const QString& name : names.mid(3))
            QVERIFY(QFile::remove(folder.path() + QLatin1Char('/') + name));
    else if (change == QLatin1String("truncate"))
        manifest.chop(manifest.size() - manifest.lastIndexOf("{\"summary\""));
    else if (change == QLatin1String("split"))
        manifest.insert(manifest.indexOf("\"trigger\":2"), '\n');
    else if (change == QLatin1String("no crc32"))
        manifest.replace("\"crc32\":", "\"crc\":");
    else if (change == QLatin1String("format 2"))
        manifest.replace("\"recordFormat\":1,\"version\":\"" KXCAM_VERSION "\"", "\"recordFormat\":2,\"version\":\"0.9.0\"");
    else if (change == QLatin1String("no format"))
        manifest.replace(",\"recordFormat\":1", "");
    else if (change == QLatin1String("program kxcam-view"))
        manifest.replace("\"program\":\"kxcam-play\"", "\"program\":\"kxcam-view\"");
    ImageFolder manifests;
    const QString manifestPath = manifests.addFile(QStringLiteral("manifest.jsonl"), manifest);
    if (change == QLatin1String("delete"))
        QVERIFY(QFile::remove(manifestPath));

    const QStringList sheet{QStringLiteral("--contact-sheet"), QStringLiteral("/dev/full")};
    const Run run = play((change.endsWith(QLatin1String("full device")) ? sheet : QStringList())
                         + QStringList{QStringLiteral("--check"), manifestPath, folder.path()});
    QCOMPARE(run.status, status);
    QStringList expected;
    for (QString line : lines)
        expected.append(line.replace(QLatin1String("%1"), manifestPath)
                            .replace(QLatin1String("%2"), crcOf(folder.path() + QStringLiteral("/b.png")))
                            .replace(QLatin1String("%3"), before));
    if (expected.first().startsWith(QLatin1String("kxcam-play: "))) {
        const QString note = expected.takeFirst();
        QCOMPARE(notesOf(run).size(), 1);
        QVERIFY2(notesOf(run).first().startsWith(note), qPrintable(notesOf(run).first()));
    }
    if (expected.isEmpty()) {
        QVERIFY(run.lines.isEmpty());
        return;
    }
    QVERIFY2(summaryOf(run).startsWith(QStringLiteral("check: ")), run.lines.join('\n').constData());
    QCOMPARE(run.lines.mid(run.lines.size() - expected.size()).join('\n'), expected.join(QLatin1Char('\n')).toUtf8());
    QVERIFY(run.lines.at(run.lines.size() - expected.size() - 1).startsWith("summary: "));
}

void PlayerTest::jsonLines()
{
    ImageFolder folder;
    addFormatMix(folder);
    const Run text = play({folder.path()});
    const Run json = play({QStringLiteral("--json"), folder.path()});
    QCOMPARE(json.status, 0);
    const QList<Frame> textFrames = parseFrames(text);
    // A record per trigger: the frames', then the one past the last file.
    QCOMPARE(json.lines.size(), textFrames.size() + 3);
    QCOMPARE(json.lines.at(json.lines.size() - 2),
             QByteArray(R"({"file":null,"frame":null,"trigger":)") + QByteArray::number(textFrames.size() + 1)
                 + R"(,"warnings":[]})");
    const QJsonObject header = QJsonDocument::fromJson(json.lines.first()).object();
    QCOMPARE(QJsonDocument(header.value(QStringLiteral("camera")).toObject()).toJson(QJsonDocument::Compact),
             QByteArray(R"({"bitsPerPixel":0,"pixelFormat":"None"})"));
    QCOMPARE(header.value(QStringLiteral("program")).toString(), QStringLiteral("kxcam-play"));
    QCOMPARE(header.value(QStringLiteral("recordFormat")).toInt(), 1);
    for (int i = 0; i < textFrames.size(); ++i) {
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(json.lines.at(i + 1), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const Frame& expected = textFrames.at(i);
        QCOMPARE(object.value(QStringLiteral("frame")).toInt(), expected.number);
        QCOMPARE(object.value(QStringLiteral("width")).toInt(), expected.width);
        QCOMPARE(object.value(QStringLiteral("height")).toInt(), expected.height);
        QCOMPARE(object.value(QStringLiteral("depth")).toInt(), expected.depth);
        QCOMPARE(object.value(QStringLiteral("pixelFormat")).toString(), expected.format);
        QCOMPARE(object.value(QStringLiteral("bytes")).toInt(), expected.bytes);
        QCOMPARE(object.value(QStringLiteral("crc32")).toString(), expected.crc);
        QCOMPARE(object.value(QStringLiteral("file")).toString(), expected.file);
    }
    const QJsonObject summary = QJsonDocument::fromJson(json.lines.last()).object().value(QStringLiteral("summary")).toObject();
    QCOMPARE(summary.value(QStringLiteral("frames")).toInt(), textFrames.size());
    QCOMPARE(summary.value(QStringLiteral("triggersWithoutFrame")).toInt(), 1);
    QCOMPARE(summary.value(QStringLiteral("warnings")).toInt(), 0);
    QCOMPARE(summary.value(QStringLiteral("interrupted")).toBool(), false);
    qint64 bytes = 0;
    for (const Frame& frame : textFrames)
        bytes += frame.bytes;
    QCOMPARE(qint64(summary.value(QStringLiteral("bytes")).toDouble()), bytes);
}

void PlayerTest::quietWritesSummaryAlone()
{
    ImageFolder folder;
    addFormatMix(folder);
    const Run run = play({QStringLiteral("--quiet"), folder.path()});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.lines.size(), 1);
    QVERIFY(summaryOf(run).startsWith(QStringLiteral("summary: 6 frames delivered, ")));
}

void PlayerTest::filesFollowTheCamera_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("names");  // to create in the folder; none for a folder that exists
    QTest::addColumn<bool>("images");        // the names hold images, else bytes that are none
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("changed");  // while the player plays: a file added, one removed, one replaced
    const QStringList names{"a_b.png", "ab.png", "a/1.png", "frame_2.png", "frame_10.png", "\u00df.png"};
    QTest::newRow("name order, a bad file among them") << QString() << names << true << QStringList() << false;
    QTest::newRow("twice round") << QString() << names << true << QStringList{"--loop", "--frames", "14"} << false;
    QTest::newRow("a quote, a tab and a newline in names")
        << QString() << QStringList{"q\"uote.png", "t\tab.png", "new\nline.png", "a\"\t\n/b.png"} << true << QStringList()
        << false;
    // The player is held writing to a full pipe while the folder changes.
    QTest::newRow("the folder changed while it plays") << QString() << names << true
                                                       << QStringList{"--loop", "--frames", "700"} << true;
    for (const bool preload : {false, true}) {
        const QStringList mode = preload ? QStringList{"--preload"} : QStringList();
        const char* modeName = preload ? "preload" : "decode";
        QTest::addRow("%s: the name-order table", modeName) << QString() << nameOrderTable() << true << mode << false;
        QTest::addRow("%s: corpus", modeName) << QStringLiteral(KXCAM_CORPUS_DIR) << QStringList() << true << mode << false;
        for (const NameTree& tree : equivalenceTrees())
            QTest::addRow("%s: %s", modeName, qPrintable(tree.label)) << QString() << tree.files << false << mode << false;
    }
}

// Each trigger's file, as the program names it, is the one the camera took:
// the frame is that file's decode, or the warning names that file; and the
// files come in the frame order of the tests' own plain sort.
void PlayerTest::filesFollowTheCamera()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, names);
    QFETCH(bool, images);
    QFETCH(QStringList, options);
    QFETCH(bool, changed);
#if !defined(Q_OS_LINUX)
    if (changed)
        QSKIP("telling that the player is held on its output needs Linux's /proc");
#endif
#if defined(Q_OS_WIN)
    for (const QString& name : names)
        if (name.contains(QLatin1Char('"')) || name.contains(QLatin1Char('\t')) || name.contains(QLatin1Char('\n')))
            QSKIP("Windows allows no quote, tab or newline in a file name");
#endif
    ImageFolder made;
    for (int i = 0; i < names.size(); ++i) {
        if (images)
            made.addImage(names[i], patternImage(i % 50 + 2, 3, QImage::Format_RGB32, i));
        else
            made.addFile(names[i], "x");
    }
    if (!names.isEmpty()) {
        made.addFile(QStringLiteral("bad.png"), QByteArray("\x89PNG\r\n\x1a\nbroken"));
        folder = made.path();
    }
    if (!QDir(folder).exists())
        QSKIP("no corpus beside the clone");
    const QString root = QDir(folder).absolutePath();
    // The camera's list is the folder as it opened it.
    const QStringList listed = imageFilesInFrameOrder(folder);
    QHash<QString, QString> crcBefore;
    QProcess process;
    process.start(QStringLiteral(KXCAM_PLAYER_PATH), options + QStringList{QStringLiteral("--json"), folder});
#if defined(Q_OS_LINUX)
    if (changed) {
        for (const QString& path : listed)
            crcBefore.insert(path, definedCrc(path));
        QVERIFY(waitUntilBlockedOnPipeWrite(process.processId()));
        made.addImage(QStringLiteral("0_added.png"), patternImage(5, 5, QImage::Format_RGB32, 90));
        QVERIFY(QFile::remove(made.path() + QStringLiteral("/ab.png")));
        made.addImage(QStringLiteral("frame_2.png"), patternImage(7, 7, QImage::Format_RGB32, 91));
    }
#endif
    const Run run = finishedRun(process);
    QCOMPARE(run.status, 0);
    const bool loops = options.contains(QStringLiteral("--loop"));
    QStringList files;
    const QList<QByteArray> records = run.lines.mid(1, run.lines.size() - 2);
    for (const QByteArray& line : records) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        // Only the trigger past the last file, without --loop, took none.
        if (record.value(QStringLiteral("file")).isNull()) {
            QVERIFY2(!loops && &line == &records.last(), line.constData());
            continue;
        }
        const QString path = root + QLatin1Char('/') + record.value(QStringLiteral("file")).toString();
        files.append(path);
        if (record.value(QStringLiteral("frame")).isNull()) {
            const QString quoted = QStringLiteral("(  \"%1\"  )").arg(path);
            QVERIFY2(record.value(QStringLiteral("warnings")).toArray().last().toString().endsWith(quoted), line.constData());
            continue;
        }
        // Before a change, the file as it was.
        const QString crc = record.value(QStringLiteral("crc32")).toString();
        if (crc != crcBefore.value(path))
            QCOMPARE(crc, definedCrc(path));
    }
    QStringList expected;
    while (expected.size() < files.size())
        expected += listed;
    QCOMPARE(files, expected);
    if (changed) {
        // The last pass took the files as they are now: the replaced one's new frame, the removed one's warning.
        const QList<QByteArray> lastPass = records.mid(records.size() - listed.size());
        const auto recordOf = [&lastPass](const char* file) {
            for (const QByteArray& line : lastPass)
                if (line.contains(QByteArray("\"file\":\"") + file + '"'))
                    return QJsonDocument::fromJson(line).object();
            return QJsonObject();
        };
        QCOMPARE(recordOf("frame_2.png").value(QStringLiteral("crc32")).toString(), definedCrc(made.path() + QStringLiteral("/frame_2.png")));
        QVERIFY(recordOf("ab.png").value(QStringLiteral("frame")).isNull());
        QVERIFY(!recordOf("ab.png").isEmpty());
    }
}

void PlayerTest::saveRoundTrip()
{
    ImageFolder folder;
    QStringList paths = addFormatMix(folder);
    // No image format for a 1-bit frame (None): it is saved as its bytes.
    const QString mono = folder.addImage(QStringLiteral("mono.png"), patternImage(13, 5, QImage::Format_Mono, 7));
    paths.append(mono);
    QTemporaryDir saved;
    const QStringList options{QStringLiteral("--save"), saved.path(), folder.path()};
    const Run run = play(options);
    QCOMPARE(run.status, 0);
    const QList<Frame> frames = parseFrames(run);
    QCOMPARE(frames.size(), paths.size());
    QVERIFY2(summaryOf(run).endsWith(QStringLiteral(", 7 frames saved")), qPrintable(summaryOf(run)));

    QHash<QString, QString> pathOfKey;
    for (const QString& path : paths)
        pathOfKey.insert(expectedFrame(path).key(), path);
    for (const Frame& frame : frames) {
        const QString path = pathOfKey.value(frame.key());
        QVERIFY2(!path.isEmpty(), qPrintable(frame.key()));
        if (path == mono) {
            QFile raw(QDir(saved.path()).filePath(QStringLiteral("frame_%1_13x5_1bit_4bpr.raw").arg(frame.number, 6, 10, QLatin1Char('0'))));
            QVERIFY(raw.open(QIODevice::ReadOnly));
            QCOMPARE(raw.readAll(), definedBytes(mono));
            continue;
        }
        QImage decoded(path);
        // A palette image reaches the host as its indices, announced as grey.
        if (decoded.format() == QImage::Format_Indexed8)
            decoded = QImage(decoded.constBits(), decoded.width(), decoded.height(), decoded.bytesPerLine(),
                             QImage::Format_Grayscale8).copy();
        const QImage written(QDir(saved.path()).filePath(QStringLiteral("frame_%1.png").arg(frame.number, 6, 10, QLatin1Char('0'))));
        QVERIFY2(!written.isNull(), qPrintable(path));
        QCOMPARE(written.convertToFormat(decoded.format()), decoded);
    }
    QCOMPARE(QDir(saved.path()).entryList(QDir::Files).size(), paths.size());
    QCOMPARE(errorLines(play(options)).filter(QStringLiteral("kxcam-play: ")), QStringList{QStringLiteral("kxcam-play: %1 holds 7 frame files of an earlier run; "
                                                                    "this run's frames replace those of the same names").arg(saved.path())});
}

void PlayerTest::contactSheet_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QSize>("size");
    // Cells of 160x138 (thumbnail and label) 8 pixels apart, six to a row.
    QTest::newRow("one row") << 3 << QSize(8 + 3 * 168, 8 + 146);
    QTest::newRow("two rows") << 8 << QSize(8 + 6 * 168, 8 + 2 * 146);
}

void PlayerTest::contactSheet()
{
    QFETCH(int, files);
    QFETCH(QSize, size);
    ImageFolder folder;
    QHash<QString, QRgb> colourOfKey;
    for (int i = 0; i < files; ++i) {
        const QRgb colour = qRgb(30 * i, 255 - 20 * i, 100 + 10 * i);
        const QString path = folder.addImage(QStringLiteral("f%1.png").arg(i), uniformImage(64 + i, 48, colour));
        colourOfKey.insert(expectedFrame(path).key(), colour);
    }
    QTemporaryDir out;
    const QString sheetPath = QDir(out.path()).filePath(QStringLiteral("sheet.png"));
    const Run run = play({QStringLiteral("--contact-sheet"), sheetPath, folder.path()});
    QCOMPARE(run.status, 0);
    const QImage sheet(sheetPath);
    QCOMPARE(sheet.size(), size);

    const QList<Frame> frames = parseFrames(run);
    QCOMPARE(frames.size(), files);
    const int columns = qMin(files, 6);
    for (const Frame& frame : frames) {
        const int index = frame.number - 1;
        const QPoint cell(8 + (index % columns) * 168, 8 + (index / columns) * 146);
        QCOMPARE(QColor(sheet.pixel(cell + QPoint(80, 60))), QColor(colourOfKey.value(frame.key())));
        // The label under the thumbnail has lit pixels and the gap above it none.
        int lit = 0;
        for (int y = 124; y < 138; ++y)
            for (int x = 0; x < 160; ++x)
                lit += qGray(sheet.pixel(cell + QPoint(x, y))) > 200;
        QVERIFY2(lit > 10, qPrintable(QStringLiteral("frame %1").arg(frame.number)));
        QCOMPARE(qGray(sheet.pixel(cell + QPoint(80, 121))), qGray(qRgb(48, 48, 48)));
    }
}

void PlayerTest::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    const QString missing = QDir::temp().filePath(QStringLiteral("kxcam-no-such-folder"));
    QTest::newRow("missing folder") << QStringList{missing} << 1
                                    << QStringLiteral("kxcam-play: the camera cannot open the folder %1").arg(missing);
    const QString player = QStringLiteral(KXCAM_PLAYER_PATH);
    QTest::newRow("file given as the folder")
        << QStringList{player} << 1
        << QStringLiteral("kxcam-play: the camera cannot open the folder %1: it is a file, not a folder").arg(player);
    // Named as given, not as the loader's last variant of it (".../libnone.so").
    QTest::newRow("missing module") << QStringList{QStringLiteral("--module"), missing + QStringLiteral("/none.so")} << 1
                                    << QStringLiteral("kxcam-play: cannot load camera module %1/none.so: no such file").arg(missing);
    const QString notACamera = QLibraryInfo::location(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/libqminimal.so");
    if (QFileInfo::exists(notACamera))
        QTest::newRow("module without the exports")
            << QStringList{QStringLiteral("--module"), notACamera} << 1
            << QStringLiteral("kxcam-play: %1 is not a camera module: it does not export Camera_Create").arg(notACamera);
    // Checked before the first trigger, so a long run cannot fail at its end.
#if defined(Q_OS_WIN)
    const QString noSuchFolder;  // worded by the system, in its language (and by Wine otherwise)
#else
    const QString noSuchFolder = QStringLiteral("No such file or directory");
#endif
    QTest::newRow("contact sheet in a missing folder")
        << QStringList{QStringLiteral("--contact-sheet"), missing + QStringLiteral("/sheet.png")} << 1
        << QStringLiteral("kxcam-play: cannot write the contact sheet %1/sheet.png: %2").arg(missing, noSuchFolder);
    const QString rates = QStringLiteral("kxcam-play: --fps needs a rate from 4.6567e-07 to 1000 a second (one trigger every "
                                         "2147483647 ms to every 1 ms, the range of Qt's timer), not '%1'");
    QTest::newRow("rate below the timer's") << QStringList{QStringLiteral("--fps"), QStringLiteral("1e-7")} << 2
                                            << rates.arg(QStringLiteral("1e-7"));
    QTest::newRow("rate above the timer's") << QStringList{QStringLiteral("--fps"), QStringLiteral("1e7")} << 2
                                            << rates.arg(QStringLiteral("1e7"));
    QTest::newRow("folder named like an option")
        << QStringList{QStringLiteral("-dashdir")} << 2
        << QStringLiteral("kxcam-play: Unknown option 'dashdir'. (a folder whose name starts with - goes after --)");
    QTest::newRow("empty save folder") << QStringList{QStringLiteral("--save"), QString()} << 2
                                       << QStringLiteral("kxcam-play: --save needs a path, not an empty string");
    QTest::newRow("empty contact sheet") << QStringList{QStringLiteral("--contact-sheet=")} << 2
                                         << QStringLiteral("kxcam-play: --contact-sheet needs a path, not an empty string");
    QTest::newRow("idle without follow") << QStringList{"--idle", "3"} << 2
                                         << QStringLiteral("kxcam-play: --idle ends a followed folder's wait for files: give --follow");
    QTest::newRow("idle of no time") << QStringList{"--follow", "--idle", "0"} << 2
                                     << QStringLiteral("kxcam-play: --idle needs a number of seconds above 0, not '0'");
    QTest::newRow("pace and rate") << QStringList{"--pace", "mtime", "--fps", "5"} << 2
                                   << QStringLiteral("kxcam-play: --pace and --fps both set the pace: give one");
    QTest::newRow("pace of neither kind") << QStringList{"--pace", "ctime"} << 2
                                          << QStringLiteral("kxcam-play: --pace takes mtime or name:REGEX, not 'ctime'");
    QTest::newRow("time without a unit")
        << QStringList{"--pace", "name:_(\\d+)"} << 2
        << QStringLiteral("kxcam-play: --pace name:_(\\d+) captures no time: name the group of the number by its unit "
                          "(s, ms, us, ns), e.g. name:_(?<ms>\\d+)\\.png");
    QTest::newRow("time in an unknown unit") << QStringList{"--pace", "name:_(?<h>\\d+)"} << 2
                                             << QStringLiteral("kxcam-play: --pace name:_(?<h>\\d+) captures no time");
    QTest::newRow("broken pattern") << QStringList{"--pace", "name:_(?<ms>\\d+"} << 2
                                    << QStringLiteral("kxcam-play: --pace name:_(?<ms>\\d+: missing closing parenthesis at offset 10");
    QTest::newRow("speed without a pace") << QStringList{"--speed", "2"} << 2
                                          << QStringLiteral("kxcam-play: --speed scales --pace or --fps: give one of them");
    QTest::newRow("speed of zero") << QStringList{"--pace", "mtime", "--speed", "0"} << 2
                                   << QStringLiteral("kxcam-play: --speed needs a factor above 0, not '0'");
    QTest::newRow("empty manifest path") << QStringList{QStringLiteral("--check=")} << 2
                                         << QStringLiteral("kxcam-play: --check needs a path, not an empty string");
    const QString bad = QStringLiteral("kxcam-play: ");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << 2 << bad;
    QTest::newRow("frames not a number") << QStringList{QStringLiteral("--frames"), QStringLiteral("many")} << 2 << bad;
    QTest::newRow("zero frames") << QStringList{QStringLiteral("--frames"), QStringLiteral("0")} << 2 << bad;
    QTest::newRow("negative rate") << QStringList{QStringLiteral("--fps"), QStringLiteral("-5")} << 2 << bad;
    QTest::newRow("unknown pixel format") << QStringList{QStringLiteral("--pixel-format"), QStringLiteral("RGB99")} << 2 << bad;
    QTest::newRow("code without a name") << QStringList{QStringLiteral("--pixel-format"), QStringLiteral("7")} << 2 << bad;
    QTest::newRow("two folders") << QStringList{QStringLiteral("a"), QStringLiteral("b")} << 2 << bad;
    QTest::newRow("missing value") << QStringList{QStringLiteral("--save")} << 2 << bad;
    const QStringList once{QStringLiteral("--frames"), QStringLiteral("1"), QStringLiteral("--quiet")};
    QTest::newRow("pixel format by name") << once + QStringList{QStringLiteral("--pixel-format"), QStringLiteral("gray8")} << 0 << QString();
    QTest::newRow("pixel format by code") << once + QStringList{QStringLiteral("--pixel-format"), QStringLiteral("12")} << 0 << QString();
    QTest::newRow("slowest rate shown") << once + QStringList{QStringLiteral("--fps"), QStringLiteral("4.6567e-07")} << 0 << QString();
    QTest::newRow("fastest rate") << once + QStringList{QStringLiteral("--fps"), QStringLiteral("1000")} << 0 << QString();
    QTest::newRow("exit statuses in the help")
        << QStringList{QStringLiteral("--help")} << 0
        << QStringLiteral("Exit status: 0 when the run played to its end, 1 when the module cannot be loaded, the camera "
                          "cannot open the folder, an output cannot be written or the manifest of --check cannot be read, "
                          "2 for bad options, 3 when the replay differs from that manifest, 130 when Ctrl-C (SIGINT) "
                          "ended the run (after its summary; a second Ctrl-C ends it at once), 143 when SIGTERM ended the "
                          "run (after its summary).");
}

void PlayerTest::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, reason);
    const Run run = play(arguments);
    QCOMPARE(run.status, status);
    // A run that succeeds has its reason, if any, as a line of stdout.
    if (status == 0) {
        QVERIFY2(reason.isEmpty() || run.lines.contains(reason.toUtf8()), run.lines.join('\n').constData());
        return;
    }
    QVERIFY(run.lines.isEmpty());
    const QStringList lines = errorLines(run);
    const auto ours = std::find_if(lines.cbegin(), lines.cend(), [](const QString& line) {
        return line.startsWith(QLatin1String("kxcam-play: "));
    });
    QVERIFY2(ours != lines.cend(), run.errors.constData());
    QVERIFY2(ours->startsWith(reason), qPrintable(*ours));
}

void PlayerTest::interruptEndsWithSummary_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("checked");  // against the manifest of one pass, which the looping replay outruns
#if defined(Q_OS_UNIX)
    QTest::newRow("SIGINT") << int(SIGINT) << 1 << 130 << false;
    QTest::newRow("SIGTERM") << int(SIGTERM) << 1 << 143 << false;
    // The interrupt outranks the difference.
    QTest::newRow("SIGINT, the replay differs") << int(SIGINT) << 1 << 130 << true;
    // The second comes while the player is busy outside its event loop, as in a
    // long decode: it ends the program at once, without a summary.
    QTest::newRow("SIGINT twice") << int(SIGINT) << 2 << 130 << false;
#endif
}

void PlayerTest::interruptEndsWithSummary()
{
#if defined(Q_OS_UNIX)
    QFETCH(int, signalNumber);
    QFETCH(int, sent);
    QFETCH(int, status);
    QFETCH(bool, checked);
    ImageFolder folder;
    addFormatMix(folder);
    QTemporaryDir out;
    const QString sheetPath = QDir(out.path()).filePath(QStringLiteral("sheet.png"));
    QProcess process;
    QStringList arguments{QStringLiteral("--loop"), QStringLiteral("--contact-sheet"), sheetPath, folder.path()};
    if (sent == 1)
        arguments.prepend(QStringLiteral("--fps=200"));
    ImageFolder manifests;
    QString manifestPath;
    if (checked) {
        const Run written = play({QStringLiteral("--json"), folder.path()});
        QCOMPARE(written.status, 0);
        manifestPath = manifests.addFile(QStringLiteral("manifest.jsonl"), written.lines.join('\n') + '\n');
        arguments += {QStringLiteral("--frames=1000000"), QStringLiteral("--check"), manifestPath};
    }
    process.start(QStringLiteral(KXCAM_PLAYER_PATH), arguments);
    QVERIFY(process.waitForStarted());
    QByteArray output;
    if (sent > 1) {
#if defined(Q_OS_LINUX)
        // Unread, the pipe fills and the player blocks writing to it: busy.
        for (int i = 0; i < sent; ++i) {
            QVERIFY(waitUntilBlockedOnPipeWrite(process.processId()));
            QCOMPARE(::kill(pid_t(process.processId()), signalNumber), 0);
        }
#else
        QSKIP("telling that the player is blocked on its output needs Linux's /proc");
#endif
    } else {
        while (output.count('\n') < 6 && process.waitForReadyRead(10000))
            output += process.readAllStandardOutput();
        QVERIFY2(output.count('\n') >= 6, "no frames before the interrupt");
        QCOMPARE(::kill(pid_t(process.processId()), signalNumber), 0);
    }
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    output += process.readAllStandardOutput();
    if (sent > 1) {
        QVERIFY2(!output.contains("summary: "), output.constData());
        QVERIFY(!QFileInfo::exists(sheetPath));
        return;
    }

    QList<QByteArray> lines = output.split('\n');
    lines.removeAll(QByteArray());
    if (checked) {
        const QRegularExpression differ(
            QStringLiteral("^check: \\d+ of 7 triggers differs? from %1").arg(QRegularExpression::escape(manifestPath)));
        QVERIFY2(differ.match(QString::fromUtf8(lines.last())).hasMatch(), lines.last().constData());
        while (lines.last().startsWith("check: "))
            lines.removeLast();
    }
    const QString summary = QString::fromUtf8(lines.last());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^summary: (\\d+) frames delivered, 0 triggers without a frame, 0 warnings \\(0 before the first trigger\\), .* \\(interrupted\\)$"))
            .match(summary);
    QVERIFY2(match.hasMatch(), qPrintable(summary));
    const int frames = match.captured(1).toInt();
    QCOMPARE(frames, lines.size() - 2);
    const int columns = qMin(frames, 6);
    const int rows = (qMin(frames, 400) + columns - 1) / columns;
    QCOMPARE(QImage(sheetPath).size(), QSize(8 + columns * 168, 8 + rows * 146));
#else
    QSKIP("sending signals to another process needs POSIX");
#endif
}

void PlayerTest::outputFailure_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("reason");
    // The shell reports the player's status on stderr after its own lines.
    const QStringList loop{QStringLiteral("--loop")};
    QTest::newRow("full device") << QStringLiteral("( \"$@\"; echo \"status $?\" >&2 ) >/dev/full") << loop
                                 << QStringLiteral("kxcam-play: cannot write to standard output: No space left on device");
    QTest::newRow("closed pipe") << QStringLiteral("( \"$@\"; echo \"status $?\" >&2 ) | head -n 1 >/dev/null") << loop
                                 << QStringLiteral("kxcam-play: cannot write to standard output: Broken pipe");
    QTest::newRow("closed pipe, SIGPIPE ignored")
        << QStringLiteral("trap '' PIPE; ( \"$@\"; echo \"status $?\" >&2 ) | head -n 1 >/dev/null") << loop
        << QStringLiteral("kxcam-play: cannot write to standard output: Broken pipe");
#if !defined(__SANITIZE_ADDRESS__)
    // Qt's PNG writer leaks an allocation when its write fails, which the
    // leak checker of a sanitizer build reports.
    QTest::newRow("contact sheet on a full device")
        << QStringLiteral("\"$@\" >/dev/null; echo \"status $?\" >&2")
        << QStringList{QStringLiteral("--contact-sheet"), QStringLiteral("/dev/full")}
        << QStringLiteral("kxcam-play: cannot write the contact sheet /dev/full: No space left on device");
#endif
}

void PlayerTest::outputFailure()
{
#if defined(Q_OS_UNIX)
    QFETCH(QString, script);
    QFETCH(QStringList, options);
    QFETCH(QString, reason);
    ImageFolder folder;
    addFormatMix(folder);
    const Run run = playInShell(script, options + QStringList{folder.path()});
    QCOMPARE(run.status, 0);
    const QStringList lines = errorLines(run);
    QCOMPARE(lines.filter(QStringLiteral("kxcam-play: ")), QStringList{reason});
    QCOMPARE(lines.last(), QStringLiteral("status 1"));
#else
    QSKIP("/dev/full, sh and SIGPIPE need POSIX");
#endif
}

// A folder whose name starts with a dash is given after "--".
void PlayerTest::dashFolderAfterDoubleDash()
{
    ImageFolder folder;
    const QString image = folder.addImage(QStringLiteral("-dashdir/a.png"), patternImage(5, 3, QImage::Format_RGB32, 1));
    const Run run = play({QStringLiteral("--"), QStringLiteral("-dashdir")}, QProcessEnvironment::systemEnvironment(),
                         folder.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(keys(parseFrames(run)), expectedKeys({image}));
}

QTEST_GUILESS_MAIN(PlayerTest)
#include "tst_player.moc"
