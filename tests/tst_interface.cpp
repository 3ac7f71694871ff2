// The camera contract checked from outside, as a host built elsewhere sees it:
// the name tables, member bytes at their offsets, and virtual-table slots.
#include "image_folder.h"
#include "kxcam_camera.h"
#include "kxcam_pixel_format.h"
#include "log_capture.h"
#include "raw_object.h"
#include "test_module.h"

#include <QtTest>

#include <cstring>

namespace {

// Fails the test if the camera ever calls the host's own first slot.
class StrictCallback : public ICameraCallback {
public:
    void hostReserved() override { ++hostSlotCalls; }
    int onFrame(ICameraObject* camera) override
    {
        ++frames;
        lastCamera = camera;
        return 1;
    }
    int hostSlotCalls = 0;
    int frames = 0;
    ICameraObject* lastCamera = nullptr;
};

// Field offsets as a host compiled against the contract knows them.
enum : std::size_t {
    OffParams = 8, OffOpened = 16, OffGrabbing = 17, OffWidth = 20, OffHeight = 24, OffImageSize = 28,
    OffBitsPerPixel = 32, OffPixelFormat = 36, OffReserved = 40, OffFrameCount = 44, OffStartCount = 48,
    OffActiveGrabMode = 52, OffGrabMode = 56, OffImageData = 64, OffCallback = 72,
};
enum : std::size_t { RecLoop = 9, RecWidth = 32, RecHeight = 36, RecPixelFormat = 44, RecFolder = 48, RecPreload = 80 };

enum Slot { SlotList1 = 1, SlotOpen, SlotClose, SlotStart, SlotStop, SlotOp6, SlotFlag7, SlotFlag8, SlotTrigger,
            SlotValue10, SlotApply, SlotFlag12, SlotOp13, SlotOp14 };

bool isCameraField(std::size_t offset)
{
    const auto in = [offset](std::size_t start, std::size_t width) { return offset >= start && offset < start + width; };
    return in(RecLoop, 1) || in(RecWidth, 8) || in(RecPixelFormat, 4) || in(RecFolder, 8) || in(RecPreload, 4);
}

}  // namespace

class InterfaceTest : public QObject {
    Q_OBJECT

private slots:
    void nameTables_data();
    void nameTables();
    void tableSizes();
    void construction_data();
    void construction();
    void virtualSlots();
    void hostBytesUntouched_data();
    void hostBytesUntouched();
    void createRefusesMissingArguments_data();
    void createRefusesMissingArguments();
    void createAndDeleteLog();
};

void InterfaceTest::nameTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    // The code the enumeration of kxcam_pixel_format.h gives the name; the
    // other tables have none, and give the row's own code.
    QTest::addColumn<int>("enumerated");
    const char* types[][2] = {{"0", "Unknown(0)"}, {"100", "Virtual Camera(100)"}, {"110", "BitFlow(110)"},
                              {"120", "Gige(120)"}, {"130", "USB Camera(130)"}, {"140", "HIK(140)"},
                              {"150", "Vimba(150)"}, {"160", "Baumer(160)"}, {"170", "AdLink(170)"},
                              {"180", "DaHua(180)"}, {"190", "Basler(190)"}, {"200", "PtGray(200)"},
                              {"220", "Euresys(220)"}, {"230", "Dalsa(230)"}};
    for (const auto& row : types)
        QTest::addRow("type %s", row[0]) << 0 << QByteArray(row[0]).toInt() << QString::fromLatin1(row[1])
                                         << QByteArray(row[0]).toInt();
    const char* states[] = {"Uninitialized", "Initialized", "Opened", "Running", "Paused", "Closed"};
    for (int code = 0; code < 6; ++code)
        QTest::addRow("state %d", code) << 1 << code << QString::fromLatin1(states[code]) << code;
    const struct {
        int code;
        PixelFormatCode enumerated;
        const char* name;
    } formats[] = {{0, PIXEL_FORMAT_NONE, "None"},     {1, PIXEL_FORMAT_GRAY8, "GRAY8"},
                   {2, PIXEL_FORMAT_RGB24, "RGB24"},   {3, PIXEL_FORMAT_RGB32, "RGB32"},
                   {4, PIXEL_FORMAT_GRAY16, "GRAY16"}, {5, PIXEL_FORMAT_RGB48, "RGB48"},
                   {11, PIXEL_FORMAT_BGR24, "BGR24"},  {12, PIXEL_FORMAT_BGR32, "BGR32"}};
    for (const auto& row : formats)
        QTest::addRow("format %d", row.code) << 2 << row.code << QString::fromLatin1(row.name) << int(row.enumerated);
}

void InterfaceTest::nameTables()
{
    QFETCH(int, table);
    QFETCH(int, code);
    QFETCH(QString, name);
    QFETCH(int, enumerated);
    QCOMPARE(enumerated, code);
    const QMap<int, QString>* tables[] = {&cameraTypeNames, &cameraStateNames, &pixelFormatNames};
    QVERIFY(tables[table]->contains(code));
    QCOMPARE(tables[table]->value(code), name);
}

void InterfaceTest::tableSizes()
{
    QCOMPARE(cameraTypeNames.size(), 14);
    QCOMPARE(cameraStateNames.size(), 6);
    QCOMPARE(pixelFormatNames.size(), 8);
    QVERIFY(!cameraTypeNames.contains(210));
    for (int code = 6; code <= 10; ++code)
        QVERIFY(!pixelFormatNames.contains(code));
}

void InterfaceTest::construction_data()
{
    QTest::addColumn<int>("pixelFormat");
    QTest::addColumn<int>("bitsPerPixel");
    QTest::newRow("GRAY8") << 1 << 8;
    QTest::newRow("RGB24") << 2 << 24;
    QTest::newRow("RGB32") << 3 << 32;
    QTest::newRow("GRAY16") << 4 << 16;
    QTest::newRow("None") << 0 << 0;
    QTest::newRow("RGB48") << 5 << 0;
    QTest::newRow("BGR24") << 11 << 0;
    QTest::newRow("BGR32") << 12 << 0;
    QTest::newRow("negative") << -1 << 0;
}

void InterfaceTest::construction()
{
    QFETCH(int, pixelFormat);
    QFETCH(int, bitsPerPixel);
    CameraParams params{};
    setRawField<std::int32_t>(&params, RecPixelFormat, pixelFormat);
    StrictCallback callback;
    ICameraObject* camera = testEntryPoints().create(&params, &callback);
    QVERIFY(camera);
    QCOMPARE(rawField<CameraParams*>(camera, OffParams), &params);
    QCOMPARE(rawField<bool>(camera, OffOpened), false);
    QCOMPARE(rawField<bool>(camera, OffGrabbing), false);
    for (std::size_t offset : {OffWidth, OffHeight, OffImageSize, OffPixelFormat, OffReserved, OffFrameCount,
                               OffStartCount, OffActiveGrabMode})
        QCOMPARE(rawField<std::int32_t>(camera, offset), 0);
    QCOMPARE(rawField<std::int32_t>(camera, OffBitsPerPixel), bitsPerPixel);
    QCOMPARE(rawField<std::int32_t>(camera, OffGrabMode), 1);
    QCOMPARE(rawField<unsigned char*>(camera, OffImageData), nullptr);
    QCOMPARE(rawField<ICameraCallback*>(camera, OffCallback), static_cast<ICameraCallback*>(&callback));
    testEntryPoints().destroy(camera);
}

void InterfaceTest::virtualSlots()
{
    ImageFolder folder;
    folder.addImage(QStringLiteral("only.png"), patternImage(6, 4, QImage::Format_RGB32, 1));
    CameraParams params{};
    params.folder = folder.path();
    StrictCallback callback;
    LogCapture log;
    ICameraObject* camera = testEntryPoints().create(&params, &callback);
    log.clear();

    QCOMPARE(callSlot<int>(camera, SlotValue10), 0);
    QCOMPARE(callSlot<bool>(camera, SlotFlag7), false);
    QCOMPARE(callSlot<bool>(camera, SlotFlag8), false);
    QCOMPARE(callSlot<bool>(camera, SlotFlag12), false);
#if !defined(_MSC_VER)
    // Under the Itanium ABI a by-value result is returned through a hidden first argument.
    using ListEntry = QList<int> (*)(void*);
    QCOMPARE(reinterpret_cast<ListEntry>(vtableEntry(camera, SlotList1))(camera), QList<int>());
#endif
    callSlot<void>(camera, SlotOp6);
    callSlot<void>(camera, SlotOp13);
    callSlot<void>(camera, SlotOp14);
    QCOMPARE(callSlot<bool>(camera, SlotApply, static_cast<const CameraParamChange*>(nullptr)), false);

    QCOMPARE(callSlot<int>(camera, SlotStart), 0);
    QCOMPARE(rawField<std::int32_t>(camera, OffStartCount), 0);
    QCOMPARE(callSlot<int>(camera, SlotOpen), 1);
    QCOMPARE(rawField<bool>(camera, OffOpened), true);
    QCOMPARE(callSlot<int>(camera, SlotStart), 1);
    QCOMPARE(rawField<bool>(camera, OffGrabbing), true);
    QCOMPARE(rawField<std::int32_t>(camera, OffStartCount), 1);
    QCOMPARE(rawField<std::int32_t>(camera, OffActiveGrabMode), 1);

    callSlot<void>(camera, SlotTrigger);
    QCOMPARE(callback.frames, 1);
    QCOMPARE(callback.lastCamera, camera);
    QCOMPARE(rawField<std::int32_t>(camera, OffFrameCount), 1);
    QCOMPARE(rawField<std::int32_t>(camera, OffWidth), 6);
    QCOMPARE(rawField<std::int32_t>(camera, OffHeight), 4);
    QCOMPARE(rawField<std::int32_t>(camera, OffImageSize), 6 * 4 * 4);
    QCOMPARE(rawField<std::int32_t>(&params, RecWidth), 6);
    QCOMPARE(rawField<std::int32_t>(&params, RecHeight), 4);

    callSlot<void>(camera, SlotStop);
    QCOMPARE(rawField<bool>(camera, OffGrabbing), false);
    QCOMPARE(rawField<std::int32_t>(camera, OffActiveGrabMode), 0);
    const CameraParamChange other{7};
    QCOMPARE(callSlot<bool>(camera, SlotApply, &other), true);
    QCOMPARE(rawField<bool>(camera, OffOpened), true);
    callSlot<void>(camera, SlotClose);
    QCOMPARE(rawField<bool>(camera, OffOpened), false);
    callSlot<void>(camera, SlotTrigger);
    QCOMPARE(callback.frames, 1);
    QCOMPARE(log.take(), QStringList{QStringLiteral("warning: Virtual Camera: No image files in  \"%1\"").arg(folder.path())});
    QCOMPARE(callback.hostSlotCalls, 0);
    testEntryPoints().destroy(camera);
}

void InterfaceTest::hostBytesUntouched_data()
{
    QTest::addColumn<int>("canary");
    QTest::newRow("0x00") << 0x00;
    QTest::newRow("0xA5") << 0xA5;
    QTest::newRow("0xFF") << 0xFF;
}

void InterfaceTest::hostBytesUntouched()
{
    QFETCH(int, canary);
    ImageFolder folder;
    folder.addImage(QStringLiteral("a.png"), patternImage(5, 3, QImage::Format_RGB32, 2));
    folder.addImage(QStringLiteral("b.bmp"), patternImage(2, 7, QImage::Format_RGB32, 3));

    CameraParams params{};
    std::memset(static_cast<void*>(&params), canary, sizeof params);
    setRawField<std::uint8_t>(&params, RecLoop, 1);
    setRawField<std::int32_t>(&params, RecWidth, 0);
    setRawField<std::int32_t>(&params, RecHeight, 0);
    setRawField<std::int32_t>(&params, RecPixelFormat, 3);
    setRawField<std::int32_t>(&params, RecPreload, 1);
    new (&params.folder) QString(folder.path());
    QByteArray before(reinterpret_cast<const char*>(&params), sizeof params);

    StrictCallback callback;
    LogCapture log;
    ICameraObject* camera = testEntryPoints().create(&params, &callback);
    QCOMPARE(camera->m_bitsPerPixel, 32);
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    for (int i = 0; i < 3; ++i)
        camera->trigger();
    QCOMPARE(callback.frames, 3);  // wraps: the loop flag was read as set
    const CameraParamChange change{PARAM_IMAGE_FOLDER};
    QVERIFY(camera->applyParameter(&change));
    camera->stop();
    camera->close();
    testEntryPoints().destroy(camera);

    const QByteArray after(reinterpret_cast<const char*>(&params), sizeof params);
    for (std::size_t offset = 0; offset < sizeof params; ++offset) {
        if (!isCameraField(offset) && after.at(int(offset)) != before.at(int(offset)))
            QFAIL(qPrintable(QStringLiteral("host byte %1 was changed").arg(offset)));
    }
    QCOMPARE(log.lines().filter(QStringLiteral("warning")), QStringList());
    params.folder.~QString();
    new (&params.folder) QString();
}

void InterfaceTest::createRefusesMissingArguments_data()
{
    QTest::addColumn<bool>("withParams");
    QTest::addColumn<bool>("withCallback");
    QTest::newRow("no record") << false << true;
    QTest::newRow("no callback") << true << false;
    QTest::newRow("neither") << false << false;
}

void InterfaceTest::createRefusesMissingArguments()
{
    QFETCH(bool, withParams);
    QFETCH(bool, withCallback);
    CameraParams params{};
    StrictCallback callback;
    LogCapture log;
    ICameraObject* camera = testEntryPoints().create(withParams ? &params : nullptr, withCallback ? &callback : nullptr);
    QCOMPARE(camera, nullptr);
    QCOMPARE(log.lines(), QStringList({QStringLiteral("debug: kxCamVirtual In"),
                                       QStringLiteral("warning: Virtual Camera: Camera_Create needs a parameter record and a callback")}));
}

void InterfaceTest::createAndDeleteLog()
{
    CameraParams params{};
    StrictCallback callback;
    LogCapture log;
    ICameraObject* camera = testEntryPoints().create(&params, &callback);
    QCOMPARE(log.take(), QStringList{QStringLiteral("debug: kxCamVirtual In")});
    testEntryPoints().destroy(camera);
    QCOMPARE(log.take(), QStringList{QStringLiteral("debug: !CCameraVirtual")});
    testEntryPoints().destroy(nullptr);
    QCOMPARE(log.take(), QStringList());
}

QTEST_GUILESS_MAIN(InterfaceTest)
#include "tst_interface.moc"
