// The smallest host: loads the module by name from its own folder, plays the
// sample set once and prints how many frames it could read as Qt images. Exit
// status 0 when it got some.
#include <kxcam_camera.h>
#include <kxcam_pixel_format.h>

#include <QCoreApplication>
#include <QLibrary>

#include <cstdio>

namespace {

class FrameCounter : public ICameraCallback {
public:
    void hostReserved() override {}
    int onFrame(ICameraObject* camera) override
    {
        const QImage frame(camera->m_imageData, camera->m_width, camera->m_height,
                           camera->m_imageSize / camera->m_height, imageFormatOfCode(camera->m_pixelFormat));
        std::printf("%dx%d %s\n", frame.width(), frame.height(),
                    qPrintable(pixelFormatNames.value(camera->m_pixelFormat)));
        if (!frame.isNull())
            ++frames;
        return 0;
    }
    int frames = 0;
};

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/kxCam_100"));
    const auto create = reinterpret_cast<CameraCreateFunction>(library.resolve("Camera_Create"));
    const auto destroy = reinterpret_cast<CameraDeleteFunction>(library.resolve("Camera_Delete"));
    if (!create || !destroy) {
        std::fprintf(stderr, "%s\n", qPrintable(library.errorString()));
        return 1;
    }
    CameraParams params{};
    params.folder = QStringLiteral(SAMPLES_DIR);
    FrameCounter counter;
    ICameraObject* camera = create(&params, &counter);
    if (camera && camera->open() && camera->start()) {
        for (int i = 0; i < 100; ++i)
            camera->trigger();
        camera->stop();
        camera->close();
    }
    destroy(camera);
    std::printf("%d frames\n", counter.frames);
    return counter.frames > 0 ? 0 : 1;
}
