// The scan and the frame buffer take shortcuts for speed; these cases hold
// them to what the plain way gives: the files of a name-filtered directory
// walk in name order, and pixels that stay the frame's own while the host nests.
#include "camera_virtual_folder.h"
#include "image_folder.h"
#include "image_file_list.h"
#include "log_capture.h"
#include "recording_camera.h"

#include <QtTest>

#include <algorithm>
#include <cstdio>

namespace {

CCameraVirtualFolder& folderCamera(RecordingCamera& camera)
{
    return *static_cast<CCameraVirtualFolder*>(camera.camera());
}

QStringList filteredWalk(const QString& root)
{
    QStringList files;
    QDirIterator it(QDir(root).absolutePath(),
                    {QStringLiteral("*.BMP"), QStringLiteral("*.JPEG"), QStringLiteral("*.JPG"), QStringLiteral("*.PNG")},
                    QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

}  // namespace

class ScanEquivalenceTest : public QObject {
    Q_OBJECT

private slots:
    void listEqualsFilteredWalk_data();
    void listEqualsFilteredWalk();
    void nestedTriggerLeavesOuterFrameIntact_data();
    void nestedTriggerLeavesOuterFrameIntact();
};

void ScanEquivalenceTest::listEqualsFilteredWalk_data()
{
    QTest::addColumn<QStringList>("files");
    QStringList many;
    const char* const suffixes[] = {"png", "PNG", "Jpg", "jpeg", "JPEG", "bmp", "BmP", "gif", "txt", "png~", "jpgx", ""};
    for (int i = 0; i < 240; ++i)
        many.append(QStringLiteral("d%1/f%2.%3").arg(i % 7).arg(i * 7919 % 1000).arg(QLatin1String(suffixes[i % 12])));
    QTest::newRow("many names in several folders") << many;
    QTest::newRow("hidden entries and look-alike names")
        << QStringList{".a.png", ".hid/b.png", "x.png/c.JPG", "x.png/.d.bmp", "e.PNG.bak", ".png", "f..png", "g.JPEG"};
    QTest::newRow("deep nesting") << QStringList{"a/b/c/d/1.bmp", "a/2.png", "a/b/3.jpg", "z/4.jpeg", "5.PNG"};
    // Long shared beginnings in folders of hundreds, files beside subfolders, in both letter cases.
    QStringList thousands;
    for (int i = 0; i < 3000; ++i)
        thousands.append(QStringLiteral("class_%1/%2_%3.%4")
                             .arg(i % 12, 3, 10, QLatin1Char('0'))
                             .arg(QLatin1String(i % 5 == 0 ? "sub/img" : (i / 12 % 2 == 0 ? "IMG" : "img")))
                             .arg(i * 7919 % 100000, 8, 10, QLatin1Char('0'))
                             .arg(QLatin1String(suffixes[i % 12])));
    QTest::newRow("thousands in many folders") << thousands;
    // Hundreds in a folder, sorted otherwise than a few: eight units after the
    // shared beginning ("a.png" leaves none) tie, some names only by letter case.
    QStringList tying{QStringLiteral("a.png")};
    for (int i = 0; i < 600; ++i)
        tying.append(QStringLiteral("%1_%2.png").arg(QLatin1String(i % 3 == 0 ? "take" : "TAKE")).arg(i * 7919 % 1000));
    for (int i = 0; i < 20; ++i)
        tying.append(QStringLiteral("Take_%1.png").arg(i * 7919 % 1000));
    QTest::newRow("hundreds whose first units tie") << tying;
    // Units past a byte, where upper-casing leaves Latin-1 (\u00ff, \u00b5) or
    // a name differs only at a later unit than a wide one ("\u0100" against "\u0102").
    QStringList wide;
    for (int i = 0; i < 400; ++i) {
        const QChar first[] = {QChar(0x3b1 + i % 20), QChar(0xff), QChar(0xb5), QChar(0x100 + i % 5), QLatin1Char('b')};
        wide.append(QString(first[i % 5]) + QStringLiteral("%1.jpg").arg(i * 7919 % 1000));
    }
    QTest::newRow("hundreds of names past Latin-1") << wide;
}

void ScanEquivalenceTest::listEqualsFilteredWalk()
{
    QFETCH(QStringList, files);
    ImageFolder folder;
    for (const QString& file : files)
        folder.addFile(file, QByteArray("x"));
    folder.addSymbolicLink(folder.path() + QStringLiteral("/a"), QStringLiteral("linked.png"));
    folder.addSymbolicLink(folder.path() + QStringLiteral("/d1"), QStringLiteral("linkdir"));
#if defined(Q_OS_LINUX)
    // A name that is not valid UTF-8, which the iterator passes over.
    const QByteArray rawName = QFile::encodeName(folder.path()) + "/bad\xff.png";
    FILE* const written = std::fopen(rawName.constData(), "w");
    QVERIFY(written && std::fclose(written) == 0);
#endif
    RecordingCamera camera(folder.path());
    QCOMPARE(camera->open(), 1);
    const QStringList expected = inFrameOrder(filteredWalk(folder.path()), QDir(folder.path()).absolutePath());
    QVERIFY(!expected.isEmpty());
    QCOMPARE(folderCamera(camera).files(), expected);
    // With its own lines on, the camera names each file as it takes it, by its path below the folder.
    const CameraLinesOn linesOn;
    LogCapture log;
    camera.triggerTimes(expected.size());
    QStringList named;
    for (const QString& line : log.lines()) {
        if (line.startsWith(QLatin1String("debug: Virtual Camera: file ")))
            named.append(line);
    }
    QStringList expectedNames;
    const int rootLength = QDir(folder.path()).absolutePath().size() + 1;
    for (int i = 0; i < expected.size(); ++i)
        expectedNames.append(fileTakenLine(i, expected.size(), expected[i].mid(rootLength)));
    QCOMPARE(named, expectedNames);
    // The programs' listing, telling how many files it has so far as it goes.
    QList<int> told;
    QCOMPARE(listImageFiles(folder.path(), [&told](int files) { told.append(files); }).paths(), expected);
    QVERIFY(std::is_sorted(told.cbegin(), told.cend()));
    QCOMPARE(told.last(), expected.size());
}

void ScanEquivalenceTest::nestedTriggerLeavesOuterFrameIntact_data()
{
    QTest::addColumn<bool>("preload");
    QTest::addColumn<int>("nestedTriggers");
    for (const bool preload : {false, true}) {
        const char* mode = preload ? "preload" : "decode";
        QTest::addRow("%s, one nested trigger", mode) << preload << 1;
        // The second finds the camera delivering still, though the first nested delivery has ended.
        QTest::addRow("%s, two nested triggers", mode) << preload << 2;
    }
}

void ScanEquivalenceTest::nestedTriggerLeavesOuterFrameIntact()
{
    QFETCH(bool, preload);
    QFETCH(int, nestedTriggers);
    ImageFolder folder;
    for (int seed = 1; seed <= 3; ++seed)
        folder.addImage(QStringLiteral("%1.bmp").arg(seed), patternImage(33, 17, QImage::Format_RGB32, seed), "BMP");
    RecordingCamera camera(folder.path(), preload, true);
    QCOMPARE(camera->open(), 1);
    QByteArray outerAfterNested;
    bool nested = false;
    camera.duringFrame = [&](ICameraObject& object) {
        if (nested)
            return;
        nested = true;
        const unsigned char* outer = object.m_imageData;
        const int size = object.m_imageSize;
        for (int i = 0; i < nestedTriggers; ++i)
            object.trigger();
        outerAfterNested = QByteArray(reinterpret_cast<const char*>(outer), size);
    };
    QCOMPARE(camera.triggerTimes(1).size(), 1 + nestedTriggers);
    const QImage delivered = QImage(reinterpret_cast<const uchar*>(outerAfterNested.constData()), 33, 17,
                                    QImage::Format_RGB32).copy();
    const QString firstPath = folderCamera(camera).files().first();
    QCOMPARE(delivered, QImage(firstPath).convertToFormat(QImage::Format_RGB32));
}

QTEST_GUILESS_MAIN(ScanEquivalenceTest)
#include "tst_scan_equivalence.moc"
