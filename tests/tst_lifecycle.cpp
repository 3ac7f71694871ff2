// The camera's lifecycle as a host drives it: resolving the folder, open,
// close, start, stop and the folder-change parameter.
#include "image_folder.h"
#include "log_capture.h"
#include "recording_camera.h"

#include <QtTest>

namespace {

const QString notExist = QStringLiteral("warning: Virtual Camera: Folder(  \"%1\"  ) not exist");
const QString noImageFiles = QStringLiteral("warning: Virtual Camera: No image files in  \"%1\"");

// Makes the process's working directory `path` for the object's lifetime.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QString& path) : m_previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

// A uniquely named folder beside the test executable, removed afterwards.
class ApplicationSubfolder {
public:
    ApplicationSubfolder()
        : m_name(QStringLiteral("kxcam-app-%1").arg(QCoreApplication::applicationPid())),
          m_path(QCoreApplication::applicationDirPath() + QLatin1Char('/') + m_name)
    {
        QDir(m_path).removeRecursively();
        QDir().mkpath(m_path);
    }
    ~ApplicationSubfolder() { QDir(m_path).removeRecursively(); }
    QString name() const { return m_name; }
    QString path() const { return m_path; }

private:
    QString m_name;
    QString m_path;
};

QString addImage(const QString& folder, const QString& name, int width)
{
    const QString path = folder + QLatin1Char('/') + name;
    patternImage(width, 2, QImage::Format_RGB32, width).save(path);
    return path;
}

// How a host may write the path of a folder that exists.
enum class Spelling { TrailingSlash, Backslashes, LowerCaseDrive, WithoutDrive };

QString spelled(const QString& path, Spelling spelling)
{
    switch (spelling) {
    case Spelling::TrailingSlash: return path + QLatin1Char('/');
    case Spelling::Backslashes: return QDir::toNativeSeparators(path);
    case Spelling::LowerCaseDrive: return path.left(1).toLower() + path.mid(1);
    case Spelling::WithoutDrive: return path.mid(2);
    }
    return path;
}

}  // namespace

Q_DECLARE_METATYPE(Spelling)

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void missingFolderIsTriedAfresh();
    void relativeFolderResolution_data();
    void relativeFolderResolution();
    void emptyFolderNamesWorkingDirectory();
    void folderSpellings_data();
    void folderSpellings();
    void rootFolderOpensWithoutScanning_data();
    void rootFolderOpensWithoutScanning();
    void startNeedsOpenCamera();
    void repeatedStarts_data();
    void repeatedStarts();
    void stopOnlyActsWhileGrabbing();
    void closeWithoutStartKeepsFiles();
    void applyParameter_data();
    void applyParameter();
    void folderChangeToMissingFolder();
    void folderChangeToRootKeepsPreviousFiles_data();
    void folderChangeToRootKeepsPreviousFiles();
    void namesOutsideAscii();
};

void LifecycleTest::missingFolderIsTriedAfresh()
{
    ImageFolder parent;
    const QString missing = parent.path() + QStringLiteral("/later");
    RecordingCamera camera(missing);
    LogCapture log;
    QCOMPARE(camera->open(), 0);
    QCOMPARE(camera->m_opened, false);
    QCOMPARE(log.take(), QStringList{notExist.arg(missing)});

    // The failed open kept no directory object, so the folder string is resolved again.
    addImage(parent.addFolder(QStringLiteral("later")), QStringLiteral("a.png"), 3);
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->m_opened, true);
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(camera.frames[0].width, 3);
    QCOMPARE(log.take(), QStringList());
}

void LifecycleTest::relativeFolderResolution_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::addColumn<bool>("inApplicationDirectory");
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<int>("expectedWidth");  // 0: open fails
    QTest::newRow("working directory only") << true << false << false << 4;
    QTest::newRow("application directory only") << false << true << false << 7;
    QTest::newRow("both: working directory first") << true << true << false << 4;
    QTest::newRow("neither") << false << false << false << 0;
    QTest::newRow("application folder given absolute") << false << true << true << 7;
}

void LifecycleTest::relativeFolderResolution()
{
    QFETCH(bool, inWorkingDirectory);
    QFETCH(bool, inApplicationDirectory);
    QFETCH(bool, absolute);
    QFETCH(int, expectedWidth);
    ApplicationSubfolder application;
    if (inApplicationDirectory)
        addImage(application.path(), QStringLiteral("app.png"), 7);
    else
        QDir(application.path()).removeRecursively();
    ImageFolder work;
    if (inWorkingDirectory)
        addImage(work.addFolder(application.name()), QStringLiteral("work.png"), 4);
    WorkingDirectory cwd(work.path());

    const QString folder = absolute ? application.path() : application.name();
    RecordingCamera camera(folder);
    LogCapture log;
    QCOMPARE(camera->open(), expectedWidth ? 1 : 0);
    camera->trigger();
    if (expectedWidth) {
        QCOMPARE(camera.frames.size(), 1);
        QCOMPARE(camera.frames[0].width, expectedWidth);
        QCOMPARE(log.lines(), QStringList());
    } else {
        QVERIFY(camera.frames.isEmpty());
        QCOMPARE(log.lines(), QStringList({notExist.arg(folder), noImageFiles.arg(folder)}));
    }
}

void LifecycleTest::emptyFolderNamesWorkingDirectory()
{
    ImageFolder work;
    addImage(work.path(), QStringLiteral("here.bmp"), 5);
    WorkingDirectory cwd(work.path());
    RecordingCamera camera{QString()};
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(camera.frames[0].width, 5);
}

void LifecycleTest::folderSpellings_data()
{
    QTest::addColumn<Spelling>("spelling");
    QTest::newRow("trailing slash") << Spelling::TrailingSlash;
#if defined(Q_OS_WIN)
    QTest::newRow("backslashes") << Spelling::Backslashes;
    QTest::newRow("lower-case drive letter") << Spelling::LowerCaseDrive;
    QTest::newRow("no drive letter: the working directory's drive") << Spelling::WithoutDrive;
#endif
}

void LifecycleTest::folderSpellings()
{
    QFETCH(Spelling, spelling);
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 3);
    WorkingDirectory cwd(folder.path());
    RecordingCamera camera(spelled(folder.path(), spelling));
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(camera.frames[0].width, 3);
    QCOMPARE(log.lines(), QStringList());
}

void LifecycleTest::rootFolderOpensWithoutScanning_data()
{
    QTest::addColumn<QString>("root");
    for (const QString& root : rootSpellings())
        QTest::newRow(qPrintable(root)) << root;
}

void LifecycleTest::rootFolderOpensWithoutScanning()
{
    QFETCH(QString, root);
    RecordingCamera camera(root);
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->m_opened, true);
    camera->trigger();
    QVERIFY(camera.frames.isEmpty());
    QCOMPARE(log.lines(), QStringList{QStringLiteral("warning: Virtual Camera: No image files in  %1").arg(debugQuoted(root))});
}

void LifecycleTest::startNeedsOpenCamera()
{
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 2);
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->start(), 0);
    QCOMPARE(camera->m_startCount, 0);
    QCOMPARE(camera->m_grabbing, false);
    QCOMPARE(camera->m_activeGrabMode, 0);
}

void LifecycleTest::repeatedStarts_data()
{
    QTest::addColumn<int>("grabMode");
    QTest::addColumn<int>("framesAfterSecondStart");
    QTest::newRow("mode 1") << 1 << 1;
    QTest::newRow("mode 3") << 3 << 0;
}

void LifecycleTest::repeatedStarts()
{
    QFETCH(int, grabMode);
    QFETCH(int, framesAfterSecondStart);
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 2);
    RecordingCamera camera(folder.path());
    camera->m_grabMode = grabMode;
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    camera->trigger();
    QCOMPARE(camera->m_frameCount, 1);
    QCOMPARE(camera->start(), 1);
    QCOMPARE(camera->m_startCount, 2);
    QCOMPARE(camera->m_grabbing, true);
    QCOMPARE(camera->m_activeGrabMode, grabMode);
    QCOMPARE(camera->m_frameCount, framesAfterSecondStart);
}

void LifecycleTest::stopOnlyActsWhileGrabbing()
{
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 2);
    addImage(folder.path(), QStringLiteral("b.png"), 3);
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    camera->stop();  // not grabbing: the list and the position stay
    camera->trigger();
    QCOMPARE(camera.frames.size(), 2);
    QVERIFY(camera.frames[0].width != camera.frames[1].width);

    QCOMPARE(camera->start(), 1);
    camera->trigger();
    const int first = camera.frames.last().width;
    camera->stop();  // grabbing: the list is emptied, the next trigger rescans from the start
    QCOMPARE(camera->m_grabbing, false);
    QCOMPARE(camera->m_opened, true);
    QCOMPARE(camera->m_activeGrabMode, 0);
    camera->trigger();
    QCOMPARE(camera.frames.last().width, first);
}

void LifecycleTest::closeWithoutStartKeepsFiles()
{
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 2);
    RecordingCamera camera(folder.path(), true, true);
    QCOMPARE(camera->open(), 1);
    camera->close();
    QCOMPARE(camera->m_opened, false);
    QCOMPARE(camera->m_grabbing, false);
    QDir(folder.path()).removeRecursively();
    camera.triggerTimes(2);  // the preloaded frames outlive the folder
    QCOMPARE(camera.frames.size(), 2);
    QCOMPARE(camera.frames[1].width, 2);
}

void LifecycleTest::applyParameter_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("grabbing");
    QTest::addColumn<bool>("reopened");
    QTest::newRow("identifier 7 while open") << 7 << false << false;
    QTest::newRow("identifier 7 while grabbing") << 7 << true << false;
    QTest::newRow("folder change while open") << int(PARAM_IMAGE_FOLDER) << false << true;
    QTest::newRow("folder change while grabbing") << int(PARAM_IMAGE_FOLDER) << true << true;
}

void LifecycleTest::applyParameter()
{
    QFETCH(int, id);
    QFETCH(bool, grabbing);
    QFETCH(bool, reopened);
    ImageFolder first;
    addImage(first.path(), QStringLiteral("first.png"), 2);
    addImage(first.path(), QStringLiteral("second.png"), 3);
    ImageFolder other;
    addImage(other.path(), QStringLiteral("other.jpg"), 9);
    RecordingCamera camera(first.path());
    QCOMPARE(camera->open(), 1);
    if (grabbing)
        QCOMPARE(camera->start(), 1);
    camera->trigger();
    const int firstWidth = camera.frames.last().width;

    camera.params().folder = other.path();
    const CameraParamChange change{id};
    QCOMPARE(camera->applyParameter(&change), true);
    QCOMPARE(camera->m_opened, true);
    QCOMPARE(camera->m_grabbing, grabbing && !reopened);
    camera->trigger();
    if (reopened)
        QCOMPARE(camera.frames.last().width, 9);
    else
        QCOMPARE(camera.frames.last().width, firstWidth == 2 ? 3 : 2);
    QCOMPARE(camera->applyParameter(nullptr), false);
}

void LifecycleTest::folderChangeToMissingFolder()
{
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 2);
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    const QString missing = folder.path() + QStringLiteral("/gone");
    camera.params().folder = missing;
    LogCapture log;
    const CameraParamChange change{PARAM_IMAGE_FOLDER};
    QCOMPARE(camera->applyParameter(&change), true);
    QCOMPARE(camera->m_opened, false);
    QCOMPARE(camera->m_grabbing, false);
    QCOMPARE(log.lines(), QStringList{notExist.arg(missing)});
}

void LifecycleTest::folderChangeToRootKeepsPreviousFiles_data()
{
    rootFolderOpensWithoutScanning_data();
}

void LifecycleTest::folderChangeToRootKeepsPreviousFiles()
{
    QFETCH(QString, root);
    ImageFolder folder;
    addImage(folder.path(), QStringLiteral("a.png"), 2);
    addImage(folder.path(), QStringLiteral("b.png"), 3);
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    camera.params().folder = root;
    const CameraParamChange change{PARAM_IMAGE_FOLDER};
    QCOMPARE(camera->applyParameter(&change), true);
    QCOMPARE(camera->m_opened, true);
    camera->trigger();  // the root is never scanned: the old list and position go on
    QCOMPARE(camera.frames.size(), 2);
    QCOMPARE(camera.frames[0].width + camera.frames[1].width, 5);
}

void LifecycleTest::namesOutsideAscii()
{
    ImageFolder parent;
#if defined(Q_OS_WIN)
    // Windows file names cannot hold a double quote or a backslash.
    const QString folder = parent.addFolder(QStringLiteral("Bilder \u00e4\u00f6\u00fc \u65e5\u672c"));
#else
    const QString folder = parent.addFolder(QStringLiteral("Bilder \u00e4\u00f6\u00fc \u65e5\u672c \"q\" back\\slash"));
#endif
    addImage(folder, QStringLiteral("\u00e9t\u00e9 \u753b\u50cf.png"), 6);
    RecordingCamera camera(folder);
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    QCOMPARE(camera.frames.size(), 1);
    QCOMPARE(camera.frames[0].width, 6);

    const QString missing = folder + QStringLiteral("/fehlt \u00df");
    camera.params().folder = missing;
    const CameraParamChange change{PARAM_IMAGE_FOLDER};
    camera->applyParameter(&change);
    QCOMPARE(log.lines(),
             QStringList{QStringLiteral("warning: Virtual Camera: Folder(  %1  ) not exist").arg(debugQuoted(missing))});
}

QTEST_GUILESS_MAIN(LifecycleTest)
#include "tst_lifecycle.moc"
