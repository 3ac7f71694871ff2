// The scan and the frame buffer take shortcuts for speed; these cases hold
// them to what the plain way gives: the files of a name-filtered directory
// walk in name order, and pixels that stay the frame's own while the host nests.
#include "camera_virtual_folder.h"
#include "frame_order.h"
#include "image_folder.h"
#include "log_capture.h"
#include "name_tables.h"
#include "recording_camera.h"

#include <QtTest>

#include <cstdio>

namespace {

CCameraVirtualFolder& folderCamera(RecordingCamera& camera)
{
    return *static_cast<CCameraVirtualFolder*>(camera.camera());
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
    for (const NameTree& tree : equivalenceTrees())
        QTest::newRow(qPrintable(tree.label)) << tree.files;
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
    const QStringList expected = imageFilesInFrameOrder(folder.path());
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
