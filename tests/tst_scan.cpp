// The folder scan and the preload cache, seen from inside the camera: which
// files make the list, the decoded image kept for each, and the memory budget
// those images are kept within.
#include "available_memory.h"
#include "camera_virtual_folder.h"
#include "file_list.h"
#include "image_folder.h"
#include "log_capture.h"
#include "preload_budget.h"
#include "preload_cap.h"
#include "recording_camera.h"

#include <QtTest>

#if defined(Q_OS_LINUX)
#include "available_memory_cgroup.h"
#endif

namespace {

constexpr qint64 mebibyte = 1024 * 1024;
constexpr qint64 gibibyte = 1024 * mebibyte;

const QString ignoredCap = QStringLiteral("warning: Virtual Camera: Preload cap(  %1  ) of KXCAM_PRELOAD_MAX_MB ignored, "
                                          "the cache has none: it takes a whole number of MiB from 0 to 8796093022207");

// Files by their paths, relative to a folder.
using FileTree = QMap<QString, QByteArray>;

CCameraVirtualFolder& folderCamera(RecordingCamera& camera)
{
    return *static_cast<CCameraVirtualFolder*>(camera.camera());
}

QSet<QString> asSet(const QStringList& list)
{
    return QSet<QString>(list.begin(), list.end());
}

QByteArray tinyPng(int seed)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    patternImage(3, 3, QImage::Format_RGB32, seed).save(&buffer, "png");
    return buffer.data();
}

}  // namespace

class ScanTest : public QObject {
    Q_OBJECT

private slots:
    void constructionState();
    void matchingFiles_data();
    void matchingFiles();
    void subfoldersAreWalkedDepthFirst();
    void preloadKeepsPositions_data();
    void preloadKeepsPositions();
    void budgetOfAvailableMemoryAndCap_data();
    void budgetOfAvailableMemoryAndCap();
    void memoryCgroupHeadroom_data();
    void memoryCgroupHeadroom();
    void failedOpenDropsDirectory();
    void rootIsNeverScanned_data();
    void rootIsNeverScanned();
    void rescanResetsPosition();
    void fileListPaths_data();
    void fileListPaths();
};

void ScanTest::constructionState()
{
    RecordingCamera camera(QStringLiteral("unused"));
    CCameraVirtualFolder& folder = folderCamera(camera);
    QCOMPARE(folder.directory(), nullptr);
    QCOMPARE(folder.files(), QStringList());
    QCOMPARE(folder.nameFilters(), QStringList({"*.BMP", "*.JPEG", "*.JPG", "*.PNG"}));
    QCOMPARE(folder.index(), -1);
    QCOMPARE(folder.images().size(), 0);
}

void ScanTest::matchingFiles_data()
{
    QTest::addColumn<QStringList>("files");    // created in the folder
    QTest::addColumn<QStringList>("hidden");   // then given the hidden attribute (Windows)
    QTest::addColumn<QStringList>("listed");   // expected in the list, relative
    QTest::newRow("extensions") << QStringList{"a.png", "b.JPG", "c.jpeg", "d.bmp", "e.gif", "notes.txt", "f"}
                                << QStringList() << QStringList{"a.png", "b.JPG", "c.jpeg", "d.bmp"};
    QTest::newRow("letter case") << QStringList{"A.PnG", "B.Bmp", "C.jPeG", "D.JpG"}
                                 << QStringList() << QStringList{"A.PnG", "B.Bmp", "C.jPeG", "D.JpG"};
    QTest::newRow("suffix must end the name") << QStringList{"a.png.txt", "b.pngx", "cpng", "d.jpg~", "e.tar.png"}
                                              << QStringList() << QStringList{"e.tar.png"};
#if defined(Q_OS_WIN)
    QTest::newRow("hidden attribute on files and folders")
        << QStringList{"hidden.png", "secret/in.png", "seen/in.png", "top.bmp"} << QStringList{"hidden.png", "secret"}
        << QStringList{"seen/in.png", "top.bmp"};
#else
    QTest::newRow("hidden files and folders") << QStringList{".hidden.png", ".secret/in.png", "seen/in.png", "top.bmp"}
                                              << QStringList() << QStringList{"seen/in.png", "top.bmp"};
#endif
    QTest::newRow("names outside ASCII") << QStringList{"\u00e4\u00f6\u00fc.png", "\u65e5\u672c/\u5199\u771f.JPG", "e\u0301.bmp"}
                                         << QStringList()
                                         << QStringList{"\u00e4\u00f6\u00fc.png", "\u65e5\u672c/\u5199\u771f.JPG", "e\u0301.bmp"};
    // Letters outside ASCII that look like, or fold near, a suffix's: no image.
    QTest::newRow("suffix look-alikes outside ASCII")
        << QStringList{"a.\uff50ng", "b.pn\u0261", "c.\u0440ng", "d.jp\u0261", "e.PNG"} << QStringList()
        << QStringList{"e.PNG"};
    QTest::newRow("short names, a letter outside ASCII before the suffix")
        << QStringList{"p.jpeg", "\u00e9.png", "\u00e9.JPEG", "\u00e9.pnj", "jpg", "b.bm"} << QStringList()
        << QStringList{"p.jpeg", "\u00e9.png", "\u00e9.JPEG"};
    QTest::newRow("folder named like an image") << QStringList{"album.png/inside.jpg"} << QStringList()
                                                << QStringList{"album.png/inside.jpg"};
}

void ScanTest::matchingFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, hidden);
    QFETCH(QStringList, listed);
    ImageFolder folder;
    for (const QString& file : files)
        folder.addFile(file, tinyPng(1));
#if defined(Q_OS_WIN)
    for (const QString& entry : hidden)
        folder.hide(entry);
#endif
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    QStringList expected;
    for (const QString& file : listed)
        expected.append(folder.path() + QLatin1Char('/') + file);
    QCOMPARE(asSet(folderCamera(camera).files()), asSet(expected));
    QCOMPARE(folderCamera(camera).files().size(), expected.size());
}

void ScanTest::subfoldersAreWalkedDepthFirst()
{
    ImageFolder folder;
    QStringList expected{"a.png", "b.png", "deep/c.png", "deep/er/d.png", "deep/er/e.png", "real/target.png", "z/f.png"};
#if defined(Q_OS_LINUX)
    // Names equal but for letter case, which NTFS does not allow: each folder's files still stand together.
    for (const char* name : {"dEEP/i.png", "Deep/g.png", "DEEP/h.png"})
        expected.insert(2, QString::fromLatin1(name));
#endif
    for (QString& name : expected)
        name = folder.addFile(name, tinyPng(3));
    // Neither is listed, where the system lets us make them.
    folder.addSymbolicLink(folder.path() + QStringLiteral("/real/target.png"), QStringLiteral("link.png"));
    folder.addSymbolicLink(folder.path() + QStringLiteral("/real"), QStringLiteral("linkdir"));
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    QCOMPARE(folderCamera(camera).files(), expected);
}

void ScanTest::preloadKeepsPositions_data()
{
    QTest::addColumn<int>("preload");
    QTest::addColumn<bool>("cached");
    QTest::addColumn<QByteArray>("capMiB");  // KXCAM_PRELOAD_MAX_MB; null: unset
    QTest::newRow("preload 1") << 1 << true << QByteArray();
    QTest::newRow("preload 1, room for one large image") << 1 << true << QByteArray("1");
    QTest::newRow("preload 0") << 0 << false << QByteArray();
    QTest::newRow("preload 2 is off") << 2 << false << QByteArray();
    QTest::newRow("preload -1 is off") << -1 << false << QByteArray();
}

void ScanTest::preloadKeepsPositions()
{
    QFETCH(int, preload);
    QFETCH(bool, cached);
    QFETCH(QByteArray, capMiB);
    ImageFolder folder;
    folder.addImage(QStringLiteral("one.png"), patternImage(3, 2, QImage::Format_RGB32, 1));
    folder.addImage(QStringLiteral("two.jpg"), patternImage(4, 2, QImage::Format_RGB32, 2));
    const QString corrupt = folder.addFile(QStringLiteral("broken.png"), tinyPng(4).left(40));
    folder.addImage(QStringLiteral("three.bmp"), patternImage(5, 2, QImage::Format_Indexed8, 3));
    // Rows padded by 3 bytes, which the file does not give.
    folder.addImage(QStringLiteral("four.png"), patternImage(61, 20, QImage::Format_Grayscale8, 4));
    // 0.6 MiB each when decoded.
    folder.addImage(QStringLiteral("large1.png"), patternImage(400, 400, QImage::Format_RGB32, 5));
    folder.addImage(QStringLiteral("large2.png"), patternImage(400, 400, QImage::Format_RGB32, 6));
    const PreloadCap cap(capMiB);
    RecordingCamera camera(folder.path());
    camera.params().preload = preload;
    QVERIFY(camera.create());
    dirtyHeap(64 * 20);
    QCOMPARE(camera->open(), 1);
    const CCameraVirtualFolder& scanned = folderCamera(camera);
    QCOMPARE(scanned.preloading(), cached);
    const QStringList files = scanned.files();
    QCOMPARE(files.size(), 7);
    if (!cached) {
        folderCamera(camera).preloadImages();
        QCOMPARE(scanned.images().size(), 0);
        return;
    }
    // Preloading again rebuilds the cache rather than adding to it. A budget
    // ends it at the first file that does not fit, before any later one however small.
    folderCamera(camera).preloadImages();
    const int cachedFiles = capMiB.isEmpty() ? files.size() : files.indexOf(files.filter(QStringLiteral("/large")).last());
    QCOMPARE(scanned.images().size(), cachedFiles);
    for (int i = 0; i < cachedFiles; ++i) {
        const QImage& image = scanned.images().at(i);
        QCOMPARE(image.isNull(), files[i] == corrupt);
        if (!image.isNull())
            QCOMPARE(imageBytes(image), definedBytes(files[i]));
    }
    QCOMPARE(camera->start(), 1);
    camera->stop();
    QCOMPARE(scanned.files(), QStringList());
    QCOMPARE(scanned.images().size(), 0);
}

void ScanTest::budgetOfAvailableMemoryAndCap_data()
{
    QTest::addColumn<qint64>("available");   // as availableMemory() gives it
    QTest::addColumn<QByteArray>("capMiB");  // KXCAM_PRELOAD_MAX_MB; null: unset
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<bool>("capIgnored");    // with a warning
    const qint64 none = noMemoryLimit;
    QTest::newRow("a quarter reserved above 2 GiB") << 4 * gibibyte << QByteArray() << 3 * gibibyte << false;
    QTest::newRow("512 MiB reserved below 2 GiB") << gibibyte << QByteArray() << 512 * mebibyte << false;
    QTest::newRow("nothing below 512 MiB") << 256 * mebibyte << QByteArray() << qint64(0) << false;
    QTest::newRow("no limit, no cap") << none << QByteArray() << none << false;
    QTest::newRow("no limit, the largest cap") << none << QByteArray("8796093022207") << none - mebibyte + 1 << false;
    QTest::newRow("cap below the budget") << 4 * gibibyte << QByteArray(" 100 ") << 100 * mebibyte << false;
    QTest::newRow("cap above the budget") << gibibyte << QByteArray("1000") << 512 * mebibyte << false;
    QTest::newRow("cap 0 caches nothing") << 4 * gibibyte << QByteArray("0") << qint64(0) << false;
    QTest::newRow("cap empty") << 4 * gibibyte << QByteArray("") << 3 * gibibyte << true;
    QTest::newRow("cap not a number") << 4 * gibibyte << QByteArray("2G") << 3 * gibibyte << true;
    QTest::newRow("cap negative") << 4 * gibibyte << QByteArray("-1") << 3 * gibibyte << true;
    QTest::newRow("cap too large") << none << QByteArray("8796093022208") << none << true;
}

void ScanTest::budgetOfAvailableMemoryAndCap()
{
    QFETCH(qint64, available);
    QFETCH(QByteArray, capMiB);
    QFETCH(qint64, budget);
    QFETCH(bool, capIgnored);
#if defined(Q_OS_WIN)
    if (capMiB.isEmpty() && !capMiB.isNull())
        QSKIP("Windows' C runtime removes a variable that is set to nothing");
#endif
    const PreloadCap cap(capMiB);
    LogCapture log;
    QCOMPARE(PreloadBudget(available, PreloadBudget::capFromEnvironment()).bytes(), budget);
    QCOMPARE(log.lines(), capIgnored ? QStringList{ignoredCap.arg(debugQuoted(QString::fromLatin1(capMiB)))} : QStringList());
}

void ScanTest::memoryCgroupHeadroom_data()
{
    QTest::addColumn<QByteArray>("procSelfCgroup");
    QTest::addColumn<FileTree>("mount");  // the cgroup file systems
    QTest::addColumn<qint64>("headroom");
    QTest::newRow("v2: limit less usage, but for the inactive file cache")
        << QByteArray("0::/app\n")
        << FileTree{{"app/memory.max", "1073741824\n"}, {"app/memory.current", "536870912\n"},
                    {"app/memory.stat", "anon 402653184\ninactive_file 134217728\n"}}
        << 640 * mebibyte;
    QTest::newRow("v1 beside v2: the parent's limit less its usage, the group's own unlimited")
        << QByteArray("5:cpu:/other\n4:cpuacct,memory:/app/job\n0::/\n")
        << FileTree{{"memory/app/memory.limit_in_bytes", "2147483648\n"},
                    {"memory/app/memory.usage_in_bytes", "1073741824\n"},
                    {"memory/app/memory.stat", "cache 268435456\ntotal_inactive_file 268435456\n"},
                    {"memory/app/job/memory.limit_in_bytes", "9223372036854771712\n"},
                    {"memory/app/job/memory.usage_in_bytes", "1073741824\n"}}
        << 1280 * mebibyte;
    QTest::newRow("v2 without a limit") << QByteArray("0::/app\n")
                                        << FileTree{{"app/memory.max", "max\n"}, {"app/memory.current", "4096\n"}}
                                        << noMemoryLimit;
}

void ScanTest::memoryCgroupHeadroom()
{
#if defined(Q_OS_LINUX)
    QFETCH(QByteArray, procSelfCgroup);
    QFETCH(FileTree, mount);
    QFETCH(qint64, headroom);
    ImageFolder folder;
    for (auto file = mount.cbegin(); file != mount.cend(); ++file)
        folder.addFile(file.key(), file.value());
    QCOMPARE(cgroupHeadroom(procSelfCgroup.toStdString(), QFile::encodeName(folder.path()).toStdString()), headroom);
#else
    QSKIP("memory cgroups are Linux's");
#endif
}

void ScanTest::failedOpenDropsDirectory()
{
    ImageFolder folder;
    folder.addFile(QStringLiteral("a.png"), tinyPng(1));
    RecordingCamera camera(folder.path() + QStringLiteral("/missing"));
    LogCapture log;
    QCOMPARE(camera->open(), 0);
    QCOMPARE(folderCamera(camera).directory(), nullptr);
    QCOMPARE(folderCamera(camera).files(), QStringList());
    camera.params().folder = folder.path();
    QCOMPARE(camera->open(), 1);
    QVERIFY(folderCamera(camera).directory());
    QCOMPARE(folderCamera(camera).files().size(), 1);
    camera->close();
    QCOMPARE(folderCamera(camera).directory(), nullptr);
    QCOMPARE(folderCamera(camera).files().size(), 1);
}

void ScanTest::rootIsNeverScanned_data()
{
    QTest::addColumn<QString>("root");
    for (const QString& root : rootSpellings())
        QTest::newRow(qPrintable(root)) << root;
}

void ScanTest::rootIsNeverScanned()
{
    QFETCH(QString, root);
    RecordingCamera camera(root);
    QCOMPARE(camera->open(), 1);
    QCOMPARE(folderCamera(camera).files(), QStringList());
    QVERIFY(folderCamera(camera).directory());
}

void ScanTest::rescanResetsPosition()
{
    ImageFolder folder;
    folder.addFile(QStringLiteral("a.png"), tinyPng(1));
    folder.addFile(QStringLiteral("b.png"), tinyPng(2));
    RecordingCamera camera(folder.path(), true);
    QCOMPARE(camera->open(), 1);
    camera->trigger();
    QCOMPARE(folderCamera(camera).index(), 0);
    folder.addFile(QStringLiteral("c.png"), tinyPng(3));
    QCOMPARE(camera->open(), 1);  // already open: the same directory is scanned again
    QCOMPARE(folderCamera(camera).index(), -1);
    QCOMPARE(folderCamera(camera).files().size(), 3);
    QCOMPARE(folderCamera(camera).images().size(), 3);
}

void ScanTest::fileListPaths_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QList<QPair<int, QString>>>("files");  // a folder's index and a name, in list order
    const QStringList folders{"/r", "/r/a", "/r/\u65e5"};
    QList<QPair<int, QString>> interleaved;
    for (int i = 0; i < 40; ++i)
        interleaved.append({i / 7 % 2, QStringLiteral("f%1.png").arg(i)});
    QTest::newRow("runs of two folders") << folders << interleaved;
    QList<QPair<int, QString>> widened = interleaved;
    widened.insert(21, {2, QStringLiteral("\u0101.png")});
    QTest::newRow("a name past Latin-1 midway") << folders << widened;
    QList<QPair<int, QString>> long_ = interleaved;
    long_.insert(17, {1, QString(300, QLatin1Char('n'))});
    long_.insert(3, {0, QString(255, QChar(0xe9))});
    QTest::newRow("names of 255 and 300 units") << folders << long_;
}

// Each path as the folder, "/" and the name, however the list keeps them.
void ScanTest::fileListPaths()
{
    QFETCH(QStringList, folders);
    using FileEntries = QList<QPair<int, QString>>;
    QFETCH(FileEntries, files);
    FileList list;
    for (const QString& folder : folders)
        list.addFolder(folder);
    // Names kept last first, files then added first first: a file is the name it was given.
    QVector<int> names(files.size());
    for (int i = files.size() - 1; i >= 0; --i)
        names[i] = list.addName(files.at(i).second.constData(), files.at(i).second.size());
    QStringList expected;
    for (int i = 0; i < files.size(); ++i) {
        list.addFile(files.at(i).first, names.at(i));
        expected.append(folders.at(files.at(i).first) + QLatin1Char('/') + files.at(i).second);
    }
    list.squeeze();
    QCOMPARE(list.size(), expected.size());
    QCOMPARE(list.paths(), expected);
    QCOMPARE(list.path(expected.size() - 1), expected.last());
}

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
