// libFuzzer target: the input becomes the one image file of a folder, which a
// camera opens, starts and triggers from, with preloading off and on. The
// first byte picks the file's extension; the decoder detects the format from
// the content either way.
#include "kxcam_camera.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" ICameraObject* Camera_Create(CameraParams* params, ICameraCallback* callback);
extern "C" void Camera_Delete(ICameraObject* camera);

namespace {

// Reads every announced byte, so the sanitizer sees any frame that is shorter than it claims.
class CheckingCallback : public ICameraCallback {
public:
    void hostReserved() override { std::abort(); }
    int onFrame(ICameraObject* camera) override
    {
        if (!camera->m_imageData || camera->m_width <= 0 || camera->m_height <= 0 || camera->m_imageSize <= 0
            || camera->m_imageSize % camera->m_height != 0
            || camera->m_params->width != camera->m_width || camera->m_params->height != camera->m_height)
            std::abort();
        const auto* bytes = camera->m_imageData;
        for (std::int32_t i = 0; i < camera->m_imageSize; i += 4096)
            checksum += bytes[i];
        checksum += bytes[camera->m_imageSize - 1];
        ++frames;
        return 0;
    }
    unsigned checksum = 0;
    int frames = 0;
};

// Qt's readers allocate the whole announced frame before decoding a byte of
// it: a 522-byte JPEG header asks for 5.6 GB (kept as a regression input).
// The camera only sees the image after that, so such inputs test Qt's
// allocator, not the module; frames up to 512 MiB at the widest 8 bytes a
// pixel are still fuzzed.
bool announcesHugeFrame(const QString& path)
{
    const QSize size = QImageReader(path).size();
    const qint64 frameBytesBound = qint64(512) << 20;
    return size.isValid() && qint64(size.width()) * size.height() * 8 > frameBytesBound;
}

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

const QString& folder()
{
    static QTemporaryDir directory;
    static const QString path = directory.path();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char* const extensions[] = {"png", "jpg", "bmp"};
    const QString path = folder() + QStringLiteral("/input.") + QLatin1String(extensions[size ? data[0] % 3 : 0]);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    if (announcesHugeFrame(path)) {
        QFile::remove(path);
        return 0;
    }
    for (int preload : {0, 1}) {
        CameraParams params{};
        params.folder = folder();
        params.preload = preload;
        params.loop = 1;
        CheckingCallback callback;
        ICameraObject* camera = Camera_Create(&params, &callback);
        if (camera->open() != 1 || camera->start() != 1)
            std::abort();
        for (int i = 0; i < 3; ++i)
            camera->trigger();
        // Either every trigger delivers the one file or none does.
        if (callback.frames != 0 && callback.frames != 3)
            std::abort();
        Camera_Delete(camera);
    }
    QFile::remove(path);
    return 0;
}
