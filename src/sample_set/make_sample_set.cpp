// Writes the bundled sample set into the folder given as the only argument:
// test patterns in PNG, JPEG and BMP, one subfolder deep, chosen so that the
// frames cover the pixel formats the camera announces for common files.
#include "sample_patterns.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

bool write(const QDir& root, const QString& name, const QImage& image, const char* format, int quality = -1)
{
    const QString path = root.filePath(name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path, format, quality)) {
        std::fprintf(stderr, "make_sample_set: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: make_sample_set FOLDER\n");
        return 2;
    }
    const QDir root(arguments.at(1));
    const bool written =
        write(root, QStringLiteral("colour_bars.png"), colourBars(320, 240), "PNG")                   // RGB32
        && write(root, QStringLiteral("grey_ramp.png"), greyRamp(250, 60), "PNG")                     // GRAY8, padded rows
        && write(root, QStringLiteral("checkerboard.bmp"), paletteCheckerboard(240, 240, 30), "BMP")  // Indexed8 as GRAY8
        && write(root, QStringLiteral("fade.png"), alphaGradient(256, 128), "PNG")                    // ARGB32 as RGB48
        && write(root, QStringLiteral("frames/frame_1.jpg"), numberedFrame(320, 240, 1), "JPEG", 90)  // RGB32
        && write(root, QStringLiteral("frames/frame_2.jpg"), numberedFrame(320, 240, 2), "JPEG", 90)
        && write(root, QStringLiteral("frames/frame_3.jpg"),
                 numberedFrame(320, 240, 3).convertToFormat(QImage::Format_Grayscale8), "JPEG", 90)  // GRAY8
        && write(root, QStringLiteral("frames/frame_4.bmp"), numberedFrame(320, 240, 4), "BMP");    // RGB32
    return written ? 0 : 1;
}
