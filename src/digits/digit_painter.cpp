#include "digit_painter.h"

#include <QByteArray>
#include <QPainter>

namespace {

constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;
constexpr int glyphGap = 1;

// One row per byte, the leftmost pixel in bit 4.
constexpr unsigned char glyphs[10][glyphHeight] = {
    {0x0e, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0e},  // 0
    {0x04, 0x0c, 0x04, 0x04, 0x04, 0x04, 0x0e},  // 1
    {0x0e, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1f},  // 2
    {0x1f, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0e},  // 3
    {0x02, 0x06, 0x0a, 0x12, 0x1f, 0x02, 0x02},  // 4
    {0x1f, 0x10, 0x1e, 0x01, 0x01, 0x11, 0x0e},  // 5
    {0x06, 0x08, 0x10, 0x1e, 0x11, 0x11, 0x0e},  // 6
    {0x1f, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0e, 0x11, 0x11, 0x0e, 0x11, 0x11, 0x0e},  // 8
    {0x0e, 0x11, 0x11, 0x0f, 0x01, 0x02, 0x0c},  // 9
};

}  // namespace

DigitPainter::DigitPainter(int scale) : m_scale(scale) {}

QSize DigitPainter::textSize(int number) const
{
    const int digits = QByteArray::number(number).size();
    return QSize((digits * (glyphWidth + glyphGap) - glyphGap) * m_scale, glyphHeight * m_scale);
}

void DigitPainter::draw(QImage& image, QPoint origin, int number, QColor colour) const
{
    QPainter painter(&image);
    const QByteArray text = QByteArray::number(number);
    int left = origin.x();
    for (const char character : text) {
        if (character >= '0' && character <= '9') {
            const unsigned char* glyph = glyphs[character - '0'];
            for (int row = 0; row < glyphHeight; ++row)
                for (int column = 0; column < glyphWidth; ++column)
                    if (glyph[row] & (0x10 >> column))
                        painter.fillRect(left + column * m_scale, origin.y() + row * m_scale, m_scale, m_scale, colour);
        }
        left += (glyphWidth + glyphGap) * m_scale;
    }
}
