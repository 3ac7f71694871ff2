// Draws decimal numbers from a built-in 5x7 pixel font. Labels then need no
// font files and no GUI platform, so they come out the same on every machine.
#ifndef DIGIT_PAINTER_H
#define DIGIT_PAINTER_H

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

class DigitPainter {
public:
    // scale: the side, in image pixels, of one font pixel.
    explicit DigitPainter(int scale);

    // The size that number takes when drawn.
    QSize textSize(int number) const;
    // Draws number with its top left corner at origin; parts outside the image are clipped.
    void draw(QImage& image, QPoint origin, int number, QColor colour) const;

private:
    int m_scale;
};

#endif
