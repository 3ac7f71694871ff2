#include "sample_patterns.h"

#include "digit_painter.h"

#include <QColor>
#include <QVector>

QImage colourBars(int width, int height)
{
    static const QRgb bars[] = {0xffffffff, 0xffffff00, 0xff00ffff, 0xff00ff00,
                                0xffff00ff, 0xffff0000, 0xff0000ff, 0xff000000};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = bars[x * 8 / width];
    }
    return image;
}

QImage greyRamp(int width, int height)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = uchar(x * 255 / (width - 1));
    }
    return image;
}

QImage paletteCheckerboard(int width, int height, int square)
{
    constexpr int darkIndex = 200;
    constexpr int lightIndex = 40;
    QVector<QRgb> palette(256, qRgb(0, 0, 0));
    palette[darkIndex] = qRgb(20, 40, 120);
    palette[lightIndex] = qRgb(250, 200, 60);
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(palette);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = uchar(((x / square + y / square) % 2) ? darkIndex : lightIndex);
    }
    return image;
}

QImage alphaGradient(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgba(x * 255 / width, y * 255 / height, 160, 255 - x * 255 / width);
    }
    return image;
}

QImage numberedFrame(int width, int height, int number)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((number * 67) % 360, 90, 230));
    const DigitPainter painter(height / 10);
    const QSize text = painter.textSize(number);
    painter.draw(image, QPoint((width - text.width()) / 2, (height - text.height()) / 2), number, Qt::black);
    return image;
}
