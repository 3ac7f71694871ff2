// Following a folder as it grows (KXCAM_FOLLOW=1): files that arrive after
// the scan are played once each, in name order among themselves, and never
// before they are complete. Each row is a script of a writer's steps and
// triggers, run against the system's notifications (close-write and moved-to
// on Linux) or, in the polling build and on Windows, the settle rule.
#include "delivered_frame.h"
#include "image_folder.h"
#include "log_capture.h"
#include "recording_camera.h"
#include "test_module.h"
#include "watch_limit.h"

#include <QtTest>

#include <memory>

#ifdef KXCAM_TEST_IN_PROCESS
#include "folder_follower.h"
#include "folder_walk.h"
#endif

namespace {

// Sets a variable for the cameras created while the object lives; null unsets it.
class Variable {
public:
    Variable(const char* name, const QByteArray& value) : m_name(name)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~Variable() { qunsetenv(m_name); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    const char* m_name;
};

// Whether this build's camera learns from the system that a file is
// complete, as inotify tells it on Linux; elsewhere a file is taken once a
// later look finds it unchanged.
bool completionNotified()
{
#if defined(Q_OS_LINUX) && !defined(KXCAM_TEST_POLLING)
    return true;
#else
    return false;
#endif
}

// The steps of one row, each a verb and its arguments, for example
// "half b.png": what a writer does to the folder, and what the host does
// to the camera. "trigger NOTIFIED|SETTLED" is one trigger and what it
// gives: the file delivered ("-" none), "!name" for a file that could
// not be loaded, "!none" for the warning that the folder holds no image, when completion is notified and when it settles.
class FollowScript {
public:
    FollowScript(ImageFolder& folder, RecordingCamera& camera) : m_folder(folder), m_camera(camera) {}

    void run(const QString& script, bool notified)
    {
        for (const QString& step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList words = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            m_step = step.trimmed();
            perform(words.at(0), words.mid(1), notified);
            if (QTest::currentTestFailed())
                return;
        }
    }

private:
    // Each file's bytes: a PNG whose width no other file of the row has.
    QByteArray bytesOf(const QString& name)
    {
        if (!m_bytes.contains(name)) {
            const int width = 3 + m_bytes.size();
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            patternImage(width, 4, QImage::Format_RGB32, width).save(&buffer, "png");
            m_bytes.insert(name, buffer.data());
            m_names.insert(width, name);
        }
        return m_bytes.value(name);
    }

    QString pathOf(const QString& name) const { return m_folder.path() + QLatin1Char('/') + name; }

    void perform(const QString& verb, const QStringList& arguments, bool notified)
    {
        const QString name = arguments.value(0);
        if (verb == QLatin1String("add")) {
            m_folder.addFile(name, bytesOf(name));
        } else if (verb == QLatin1String("half")) {
            const QByteArray bytes = bytesOf(name);
            m_folder.addFolder(QFileInfo(name).path());
            m_writers[name].reset(new QFile(pathOf(name)));
            QVERIFY(m_writers[name]->open(QIODevice::WriteOnly));
            m_writers[name]->write(bytes.left(bytes.size() / 2));
            QVERIFY(m_writers[name]->flush());
        } else if (verb == QLatin1String("more")) {
            const QByteArray bytes = bytesOf(name);
            m_writers[name]->write(bytes.mid(int(m_writers[name]->pos()), 8));
            QVERIFY(m_writers[name]->flush());
        } else if (verb == QLatin1String("finish")) {
            const QByteArray bytes = bytesOf(name);
            m_writers[name]->write(bytes.mid(int(m_writers[name]->pos())));
            m_writers.remove(name);
        } else if (verb == QLatin1String("tmp")) {
            m_folder.addFile(name + QStringLiteral(".tmp"), bytesOf(name));
        } else if (verb == QLatin1String("rename")) {
            QVERIFY(QFile::rename(pathOf(name + QStringLiteral(".tmp")), pathOf(name)));
        } else if (verb == QLatin1String("remove")) {
            QVERIFY(QFile::remove(pathOf(name)));
        } else if (verb == QLatin1String("mkdir")) {
            m_folder.addFolder(name);
        } else if (verb == QLatin1String("link")) {
            if (!m_folder.addSymbolicLink(pathOf(arguments.at(1)), name))
                QSKIP("the system makes no symbolic links here");
        } else if (verb == QLatin1String("hide")) {
#if defined(Q_OS_WIN)
            m_folder.hide(name);  // elsewhere the leading dot hides it
#endif
        } else if (verb == QLatin1String("age")) {
            setModified(name, QDateTime::currentDateTime().addSecs(-7200));
        } else if (verb == QLatin1String("settle")) {
            // An hour (the rows' settle time) passes for a file written before
            // open: its time becomes an hour before a moment later than the open.
            while (QDateTime::currentMSecsSinceEpoch() <= m_opened) {
            }
            setModified(name, QDateTime::currentDateTime().addSecs(-3600));
        } else if (verb == QLatin1String("open")) {
            QVERIFY(m_camera.create());
            QCOMPARE(m_camera->open(), 1);
            m_opened = QDateTime::currentMSecsSinceEpoch();
            QCOMPARE(m_camera->start(), 1);
        } else if (verb == QLatin1String("stop")) {
            m_camera->stop();
        } else if (verb == QLatin1String("start")) {
            QCOMPARE(m_camera->start(), 1);
        } else if (verb == QLatin1String("trigger")) {
            const QStringList expected = arguments.at(0).split(QLatin1Char('|'));
            QCOMPARE(triggerOnce(), expected.at(notified ? 0 : 1));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + m_step));
        }
    }

    // Opened for reading where a reader may set the time: changing it must
    // not tell the camera that the file was written.
    void setModified(const QString& name, const QDateTime& time)
    {
        QFile file(pathOf(name));
#if defined(Q_OS_WIN)
        QVERIFY(file.open(QIODevice::ReadWrite));
#else
        QVERIFY(file.open(QIODevice::ReadOnly));
#endif
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    // What one trigger gave, as the script writes it; a frame must carry its
    // finished file's decode.
    QString triggerOnce()
    {
        LogCapture log;
        const QList<DeliveredFrame> frames = m_camera.triggerTimes(1);
        QStringList said;
        for (const DeliveredFrame& frame : frames) {
            const QString name = m_names.value(frame.width, QStringLiteral("?"));
            const QImage finished = QImage::fromData(m_bytes.value(name));
            said.append(frame.bytes == imageBytes(finished) ? name : name + QStringLiteral(" (partial)"));
        }
        const QString couldNotLoad = QStringLiteral("warning: Virtual Camera: Could not load image file(  ");
        for (const QString& line : log.lines()) {
            if (line.startsWith(couldNotLoad))
                said.append(QLatin1Char('!') + QFileInfo(line.mid(couldNotLoad.size()).section(QLatin1Char('"'), 1, 1)).fileName());
            else if (line.startsWith(QLatin1String("warning: Virtual Camera: No image files in ")))
                said.append(QStringLiteral("!none"));
            else if (!line.startsWith(QLatin1String("debug:")))
                said.append(line);
        }
        return said.isEmpty() ? QStringLiteral("-") : said.join(QLatin1Char(','));
    }

    ImageFolder& m_folder;
    RecordingCamera& m_camera;
    QString m_step;
    QMap<QString, QByteArray> m_bytes;
    QMap<int, QString> m_names;  // by width
    QMap<QString, std::shared_ptr<QFile>> m_writers;
    qint64 m_opened = 0;  // ms since the epoch, just after the last open
};

}  // namespace

class FollowTest : public QObject {
    Q_OBJECT

private slots:
    void followedFolder_data();
    void followedFolder();
    void followVariables_data();
    void followVariables();
    void waitingLines_data();
    void waitingLines();
    void arrivalDuringScan_data();
    void arrivalDuringScan();
};

void FollowTest::followedFolder_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("settleMs");  // KXCAM_FOLLOW_SETTLE_MS
    QTest::addColumn<bool>("preload");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<int>("watches");  // how many folders the system lets us watch; -1: as many as asked

    QTest::newRow("a half-written file waits until it is complete")
        << "add a.png; open; trigger a.png|a.png; half b.png; trigger -|-; finish b.png; trigger b.png|-;"
           " trigger -|b.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("a file still growing is not settled")
        << "add a.png; open; trigger a.png|a.png; half b.png; trigger -|-; more b.png; trigger -|-; more b.png;"
           " trigger -|-; finish b.png; trigger b.png|-; trigger -|b.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("a file renamed from a name without an image suffix")
        << "add a.png; open; trigger a.png|a.png; tmp b.png; trigger -|-; trigger -|-; rename b.png; trigger b.png|-;"
           " trigger -|b.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("a name before those played is played when it arrives, once")
        << "add b.png; add c.png; open; trigger b.png|b.png; trigger c.png|c.png; add a.png; trigger a.png|-;"
           " trigger -|a.png; trigger -|-; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("arrivals of one trigger come in name order")
        << "add a.png; open; trigger a.png|a.png; add d.png; add B.png; add c.png; trigger B.png|-;"
           " trigger c.png|B.png; trigger d.png|c.png; trigger -|d.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("a subfolder made after open is followed")
        << "add a.png; open; trigger a.png|a.png; mkdir sub; trigger -|-; add sub/x.png; trigger sub/x.png|-;"
           " trigger -|sub/x.png; mkdir sub/deep; trigger -|-; add sub/deep/y.png; trigger sub/deep/y.png|-;"
           " trigger -|sub/deep/y.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("hidden files, hidden folders, links and other names stay out")
        << "add a.png; mkdir .hidden; hide .hidden; open; trigger a.png|a.png; add .b.png; hide .b.png;"
           " add .hidden/c.png; add notes.txt; link d.png a.png; trigger -|-; trigger -|-; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("an empty folder warns once, then waits for its first file")
        << "open; trigger !none|!none; trigger -|-; add a.png; trigger a.png|-; trigger -|a.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("the end of a looping camera's list is a wait too")
        << "add a.png; add b.png; open; trigger a.png|a.png; trigger b.png|b.png; trigger -|-; trigger -|-;"
           " add c.png; trigger c.png|-; trigger -|c.png; trigger -|-"
        << QByteArray("0") << false << true << -1;
    QTest::newRow("stop and start scan again from the first file")
        << "add b.png; open; trigger b.png|b.png; add c.png; add a.png; trigger a.png|-; trigger c.png|a.png;"
           " trigger -|c.png; stop; start; trigger a.png|a.png; trigger b.png|b.png; trigger c.png|c.png; trigger -|-"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("with preloading, arrivals are decoded at their trigger")
        << "add a.png; add b.png; open; trigger a.png|a.png; add c.png; trigger b.png|b.png; trigger c.png|-;"
           " trigger -|c.png; trigger -|-"
        << QByteArray("0") << true << false << -1;
    QTest::newRow("a file removed before its trigger cannot be loaded, and play goes on")
        << "add a.png; add b.png; add c.png; open; trigger a.png|a.png; remove b.png; trigger !b.png|!b.png;"
           " trigger c.png|c.png; add d.png; trigger d.png|-; trigger -|d.png"
        << QByteArray("0") << false << false << -1;
    QTest::newRow("an arrival removed before it settles is forgotten")
        << "add a.png; open; trigger a.png|a.png; add b.png; trigger b.png|-; remove b.png; trigger -|-; trigger -|-"
        << QByteArray("0") << false << false << -1;
    // A file the scan finds being written is passed over until it is complete.
    QTest::newRow("a file half-written when the scan lists it")
        << "add a.png; age a.png; half b.png; add c.png; age c.png; open; trigger a.png|a.png; trigger c.png|c.png;"
           " trigger -|-; finish b.png; trigger b.png|-; trigger -|-"
        << QByteArray("3600000") << false << false << -1;
    QTest::newRow("a file half-written when the scan lists and preloads it")
        << "add a.png; age a.png; half b.png; open; trigger a.png|a.png; trigger -|-; finish b.png; trigger b.png|-;"
           " trigger -|-"
        << QByteArray("3600000") << true << false << -1;
    // Files written just before open: played in their place once settled,
    // each once, though no close-write will ever tell of them; one decoded
    // at open waits for its close-write all the same, since its frame is the
    // half it decoded.
    QTest::newRow("files written just before open play in their place once settled")
        << "add a.png; add b.png; half c.png; open; settle a.png; settle b.png; trigger a.png|a.png;"
           " trigger b.png|b.png; trigger -|-; finish c.png; trigger c.png|-; trigger -|-"
        << QByteArray("3600000") << false << false << -1;
    QTest::newRow("a file preloaded half-written is not played from its decode once settled")
        << "add a.png; age a.png; half b.png; open; finish b.png; settle b.png; trigger a.png|a.png; trigger b.png|-;"
           " trigger -|-"
        << QByteArray("3600000") << true << false << -1;
    // The system refuses the second folder's watch: every folder is polled.
    QTest::newRow("the limit on watches reached")
        << "add a.png; add sub/b.png; open; trigger a.png|a.png; trigger sub/b.png|sub/b.png; add sub/c.png;"
           " trigger -|-; trigger -|sub/c.png; half d.png; trigger -|-; finish d.png; trigger -|-; trigger -|d.png;"
           " trigger -|-"
        << QByteArray("0") << false << false << 1;
}

void FollowTest::followedFolder()
{
    QFETCH(QString, script);
    QFETCH(QByteArray, settleMs);
    QFETCH(bool, preload);
    QFETCH(bool, loop);
    QFETCH(int, watches);
    if (watches >= 0 && !watchLimitCanBeSet())
        QSKIP("only the in-process build on Linux puts a limit on the system's watches");
    const WatchLimit limit(watches);
    const Variable follow("KXCAM_FOLLOW", "1");
    const Variable settle("KXCAM_FOLLOW_SETTLE_MS", settleMs);
    ImageFolder folder;
    RecordingCamera camera(folder.path(), preload, loop);
    FollowScript(folder, camera).run(script, completionNotified() && watches < 0);
}

void FollowTest::followVariables_data()
{
    QTest::addColumn<QByteArray>("follow");  // KXCAM_FOLLOW; null: unset
    QTest::addColumn<QByteArray>("settleMs");
    QTest::addColumn<bool>("following");
    QTest::addColumn<QString>("warning");
    const QString ignoredFollow = QStringLiteral("warning: Virtual Camera: Follow(  \"%1\"  ) of KXCAM_FOLLOW ignored, "
                                                 "the camera plays its folder as listed: it takes 1 or 0");
    const QString ignoredSettle = QStringLiteral("warning: Virtual Camera: Settle time(  \"%1\"  ) of "
                                                 "KXCAM_FOLLOW_SETTLE_MS ignored, files settle for 200 ms: it takes a "
                                                 "whole number of ms from 0 to 3600000");
    QTest::newRow("unset") << QByteArray() << QByteArray() << false << QString();
    QTest::newRow("0") << QByteArray("0") << QByteArray() << false << QString();
    QTest::newRow("1") << QByteArray("1") << QByteArray() << true << QString();
    QTest::newRow("1 among blanks") << QByteArray(" 1 ") << QByteArray("0") << true << QString();
    QTest::newRow("yes") << QByteArray("yes") << QByteArray() << false << ignoredFollow.arg("yes");
    QTest::newRow("2") << QByteArray("2") << QByteArray() << false << ignoredFollow.arg("2");
#if !defined(Q_OS_WIN)  // Windows' C runtime removes a variable that is set to nothing
    QTest::newRow("empty") << QByteArray("") << QByteArray() << false << ignoredFollow.arg("");
#endif
    QTest::newRow("settle time negative") << QByteArray("1") << QByteArray("-5") << true << ignoredSettle.arg("-5");
    QTest::newRow("settle time past an hour") << QByteArray("1") << QByteArray("3600001") << true
                                              << ignoredSettle.arg("3600001");
    QTest::newRow("settle time unread without following") << QByteArray("0") << QByteArray("x") << false << QString();
}

void FollowTest::followVariables()
{
    QFETCH(QByteArray, follow);
    QFETCH(QByteArray, settleMs);
    QFETCH(bool, following);
    QFETCH(QString, warning);
    const Variable followVariable("KXCAM_FOLLOW", follow);
    const Variable settle("KXCAM_FOLLOW_SETTLE_MS", settleMs);
    ImageFolder folder;
    // Written long before the scan, so no settle time makes it wait.
    QFile first(folder.addImage(QStringLiteral("a.png"), patternImage(3, 2, QImage::Format_RGB32, 1)));
    QVERIFY(first.open(QIODevice::ReadWrite));
    QVERIFY(first.setFileTime(QDateTime::currentDateTime().addSecs(-7200), QFileDevice::FileModificationTime));
    first.close();
    LogCapture log;
    RecordingCamera camera(folder.path());
    // Read once, when the camera is created.
    QCOMPARE(log.take().filter(QStringLiteral("warning:")), warning.isEmpty() ? QStringList() : QStringList{warning});
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera.triggerTimes(1).size(), 1);
    folder.addImage(QStringLiteral("b.png"), patternImage(4, 2, QImage::Format_RGB32, 2));
    // A settle time that was not taken is the default of 200 ms, longer than these triggers.
    const int triggers = settleMs == "0" || !completionNotified() ? 3 : 2;
    const int frames = camera.triggerTimes(triggers).size();
    // Where the file must settle for 200 ms, whether it has is a matter of time.
    if (following && !completionNotified() && settleMs != "0")
        QVERIFY(frames <= 1);
    else
        QCOMPARE(frames, following ? 1 : 0);
    QCOMPARE(log.take().filter(QStringLiteral("warning:")), QStringList());
}

void FollowTest::waitingLines_data()
{
    QTest::addColumn<bool>("loop");
    QTest::addColumn<bool>("preload");
    QTest::newRow("no wrap") << false << false;
    QTest::newRow("wrap asked for") << true << false;
    QTest::newRow("preload") << false << true;
}

// The camera's own lines count the list as it grows and say once, not at
// each idle trigger, that it waits; a followed list has no end to tell.
void FollowTest::waitingLines()
{
    QFETCH(bool, loop);
    QFETCH(bool, preload);
    const Variable follow("KXCAM_FOLLOW", "1");
    const Variable settle("KXCAM_FOLLOW_SETTLE_MS", "0");
    ImageFolder folder;
    folder.addImage(QStringLiteral("a.png"), patternImage(3, 2, QImage::Format_RGB32, 1));
    folder.addFolder(QStringLiteral("sub"));
    const CameraLinesOn linesOn;
    RecordingCamera camera(folder.path(), preload, loop);
    QCOMPARE(camera->open(), 1);
    LogCapture log;
    const QString waiting = QStringLiteral("debug: Virtual Camera: waiting for files after %1");
    camera.triggerTimes(4);
    QCOMPARE(log.take(), QStringList({fileTakenLine(0, 1, QStringLiteral("a.png")), waiting.arg(1)}));
    folder.addImage(QStringLiteral("sub/b.png"), patternImage(4, 2, QImage::Format_RGB32, 2));
    folder.addImage(QStringLiteral("c.png"), patternImage(5, 2, QImage::Format_RGB32, 3));
    // Notified, the first trigger takes them; settled, the second.
    camera.triggerTimes(completionNotified() ? 1 : 2);
    camera.triggerTimes(4);
    QCOMPARE(log.take(), QStringList({fileTakenLine(1, 3, QStringLiteral("c.png")),
                                      fileTakenLine(2, 3, QStringLiteral("sub/b.png")), waiting.arg(3)}));
    QCOMPARE(camera.frames.size(), 3);
}

void FollowTest::arrivalDuringScan_data()
{
    QTest::addColumn<bool>("beforeListing");  // the file is written after its folder is watched, before it is listed
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("appended");
    QTest::newRow("between watching and listing: listed and told, taken once") << true << QStringList{"a.png", "b.png"}
                                                                               << QStringList{};
    QTest::newRow("after listing: told alone") << false << QStringList{"a.png"} << QStringList{"b.png"};
}

// A scan in slow motion: the follower watches the folder, a file is closed,
// the folder is listed; the file must be in the list once, whichever way it came.
void FollowTest::arrivalDuringScan()
{
#ifdef KXCAM_TEST_IN_PROCESS
    QFETCH(bool, beforeListing);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, appended);
    ImageFolder folder;
    const QString root = QDir(folder.path()).absolutePath();
    folder.addImage(QStringLiteral("a.png"), patternImage(3, 2, QImage::Format_RGB32, 1));
    const QStringList filters{QStringLiteral("*.PNG")};
    FileList files;
    FolderFollower follower(root, filters, 0, files);
    const auto writeB = [&] { folder.addImage(QStringLiteral("b.png"), patternImage(4, 2, QImage::Format_RGB32, 2)); };
    appendImageFiles(root, filters, files, nullptr, [&](const QString& listing) {
        follower.beforeListing(listing);
        if (beforeListing)
            writeB();
    });
    follower.scanned();
    if (!beforeListing)
        writeB();
    QStringList names;
    for (const QString& path : files.paths())
        names.append(QFileInfo(path).fileName());
    QCOMPARE(names, listed);
    // Notified, the first call takes it; settled, the second; a third finds nothing.
    for (int call = 0; call < 3; ++call)
        follower.appendArrivals();
    names.clear();
    for (const QString& path : files.paths().mid(listed.size()))
        names.append(QFileInfo(path).fileName());
    QCOMPARE(names, appended);
#else
    QSKIP("the follower is reached in-process");
#endif
}

QTEST_GUILESS_MAIN(FollowTest)
#include "tst_follow.moc"
