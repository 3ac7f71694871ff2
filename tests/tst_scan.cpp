// The folder scan and the preload cache, seen from inside the camera: which
// files make the list, and the decoded image kept for each.
#include "camera_virtual_folder.h"
#include "file_list.h"
#include "image_folder.h"
#include "log_capture.h"
#include "preload_cap.h"
#include "recording_camera.h"

#include <QtTest>

namespace {

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
    QTest::addColumn<QByteArray>("capMiB");  // KXCAM_PRELOAD_MAX_MB; empty: unset
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
    QTest::newRow("runs of two folders, past several notes") << folders << interleaved;
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
    QStringList expected;
    for (const auto& file : files) {
        list.addFile(file.first, file.second.constData(), file.second.size());
        expected.append(folders.at(file.first) + QLatin1Char('/') + file.second);
    }
    list.squeeze();
    QCOMPARE(list.size(), expected.size());
    QCOMPARE(list.paths(), expected);
    QCOMPARE(list.path(expected.size() - 1), expected.last());
}

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
