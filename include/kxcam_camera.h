// The camera interface shared between a host application and its camera
// back-end modules. Hosts are built separately and only load a module, so the
// layout of every record and the order of every virtual operation below is
// binding; the static_asserts at the end turn a moved field into a build error.
#ifndef KXCAM_CAMERA_H
#define KXCAM_CAMERA_H

#include <QList>
#include <QMap>
#include <QString>

#include <cstddef>
#include <cstdint>

// Each source file that includes this header holds its own copy of the tables.
static const QMap<int, QString> cameraTypeNames = {
    {0, QStringLiteral("Unknown(0)")},
    {100, QStringLiteral("Virtual Camera(100)")},
    {110, QStringLiteral("BitFlow(110)")},
    {120, QStringLiteral("Gige(120)")},
    {130, QStringLiteral("USB Camera(130)")},
    {140, QStringLiteral("HIK(140)")},
    {150, QStringLiteral("Vimba(150)")},
    {160, QStringLiteral("Baumer(160)")},
    {170, QStringLiteral("AdLink(170)")},
    {180, QStringLiteral("DaHua(180)")},
    {190, QStringLiteral("Basler(190)")},
    {200, QStringLiteral("PtGray(200)")},
    {220, QStringLiteral("Euresys(220)")},
    {230, QStringLiteral("Dalsa(230)")},
};

static const QMap<int, QString> cameraStateNames = {
    {0, QStringLiteral("Uninitialized")},
    {1, QStringLiteral("Initialized")},
    {2, QStringLiteral("Opened")},
    {3, QStringLiteral("Running")},
    {4, QStringLiteral("Paused")},
    {5, QStringLiteral("Closed")},
};

static const QMap<int, QString> pixelFormatNames = {
    {0, QStringLiteral("None")},
    {1, QStringLiteral("GRAY8")},
    {2, QStringLiteral("RGB24")},
    {3, QStringLiteral("RGB32")},
    {4, QStringLiteral("GRAY16")},
    {5, QStringLiteral("RGB48")},
    {11, QStringLiteral("BGR24")},
    {12, QStringLiteral("BGR32")},
};

// The host's parameter record. Only the named fields belong to the cameras;
// every reserved byte is the host's and is neither read nor written by them.
struct CameraParams {
    std::uint8_t hostReserved0[9];
    std::uint8_t loop;  // non-zero: the image sequence wraps around
    std::uint8_t hostReserved10[22];
    std::int32_t width;   // written for every delivered frame
    std::int32_t height;  // written for every delivered frame
    std::uint8_t hostReserved40[4];
    std::int32_t pixelFormat;  // a pixelFormatNames code (kxcam_pixel_format.h names them)
    QString folder;
    std::uint8_t hostReserved56[24];
    std::int32_t preload;  // exactly 1 turns preloading on
    std::uint8_t hostReserved84[44];
};

// Identifier announcing that CameraParams::folder has changed.
constexpr std::int32_t PARAM_IMAGE_FOLDER = 50;

// The grab mode that restarts the frame count at every start.
constexpr std::int32_t GRAB_MODE_RESTARTS_FRAME_COUNT = 3;

// Passed to applyParameter; only the identifier is read, the rest is the host's.
struct CameraParamChange {
    std::int32_t id;
};

class ICameraObject;

// The host's frame callback. The first slot is the host's own and is never
// called by a camera; declaring it as an ordinary function keeps onFrame the
// second vtable entry under every ABI (a virtual destructor would take two
// entries under the Itanium ABI).
class ICameraCallback {
public:
    virtual void hostReserved() = 0;
    // Called synchronously inside trigger; the result is ignored.
    virtual int onFrame(ICameraObject* camera) = 0;

protected:
    ~ICameraCallback() = default;
};

class ICameraObject {
public:
    virtual ~ICameraObject() = default;
    virtual QList<int> reservedList1() { return {}; }
    virtual int open() = 0;
    virtual void close() = 0;
    virtual int start() = 0;
    virtual void stop() = 0;
    virtual void reservedOp6() {}
    virtual bool reservedFlag7() { return false; }
    virtual bool reservedFlag8() { return false; }
    virtual void trigger() {}
    virtual int reservedValue10() { return 0; }
    virtual bool applyParameter(const CameraParamChange*) { return false; }
    virtual bool reservedFlag12() { return false; }

    CameraParams* m_params = nullptr;
    bool m_opened = false;
    bool m_grabbing = false;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int32_t m_imageSize = 0;
    std::int32_t m_bitsPerPixel = 0;
    std::int32_t m_pixelFormat = 0;
    std::int32_t m_reserved = 0;
    std::int32_t m_frameCount = 0;
    std::int32_t m_startCount = 0;
    std::int32_t m_activeGrabMode = 0;
    std::int32_t m_grabMode = 1;
    unsigned char* m_imageData = nullptr;
    ICameraCallback* m_callback = nullptr;
};

// The two functions every camera module exports by these plain names.
using CameraCreateFunction = ICameraObject* (*)(CameraParams* params, ICameraCallback* callback);
using CameraDeleteFunction = void (*)(ICameraObject* camera);

// offsetof on these non-trivial classes is conditionally supported; GCC, Clang
// and MSVC all give the real offset.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
static_assert(sizeof(void*) == 8, "the camera interface is 64-bit only");
static_assert(sizeof(QString) == 8, "QString must be one pointer (Qt 5)");

static_assert(offsetof(CameraParams, loop) == 9, "CameraParams::loop");
static_assert(offsetof(CameraParams, width) == 32, "CameraParams::width");
static_assert(offsetof(CameraParams, height) == 36, "CameraParams::height");
static_assert(offsetof(CameraParams, pixelFormat) == 44, "CameraParams::pixelFormat");
static_assert(offsetof(CameraParams, folder) == 48, "CameraParams::folder");
static_assert(offsetof(CameraParams, preload) == 80, "CameraParams::preload");
static_assert(sizeof(CameraParams) >= 84, "CameraParams must hold preload");

static_assert(offsetof(CameraParamChange, id) == 0, "CameraParamChange::id");

static_assert(offsetof(ICameraObject, m_params) == 8, "ICameraObject::m_params");
static_assert(offsetof(ICameraObject, m_opened) == 16, "ICameraObject::m_opened");
static_assert(offsetof(ICameraObject, m_grabbing) == 17, "ICameraObject::m_grabbing");
static_assert(offsetof(ICameraObject, m_width) == 20, "ICameraObject::m_width");
static_assert(offsetof(ICameraObject, m_height) == 24, "ICameraObject::m_height");
static_assert(offsetof(ICameraObject, m_imageSize) == 28, "ICameraObject::m_imageSize");
static_assert(offsetof(ICameraObject, m_bitsPerPixel) == 32, "ICameraObject::m_bitsPerPixel");
static_assert(offsetof(ICameraObject, m_pixelFormat) == 36, "ICameraObject::m_pixelFormat");
static_assert(offsetof(ICameraObject, m_reserved) == 40, "ICameraObject::m_reserved");
static_assert(offsetof(ICameraObject, m_frameCount) == 44, "ICameraObject::m_frameCount");
static_assert(offsetof(ICameraObject, m_startCount) == 48, "ICameraObject::m_startCount");
static_assert(offsetof(ICameraObject, m_activeGrabMode) == 52, "ICameraObject::m_activeGrabMode");
static_assert(offsetof(ICameraObject, m_grabMode) == 56, "ICameraObject::m_grabMode");
static_assert(offsetof(ICameraObject, m_imageData) == 64, "ICameraObject::m_imageData");
static_assert(offsetof(ICameraObject, m_callback) == 72, "ICameraObject::m_callback");
static_assert(sizeof(ICameraObject) == 80, "ICameraObject size");
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#endif
