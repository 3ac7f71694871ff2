#include "contact_sheet.h"

#include "digit_painter.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr int spacing = 8;
constexpr int labelGap = 4;
constexpr int labelScale = 2;
constexpr int labelHeight = 7 * labelScale;
constexpr int cellWidth = ContactSheet::thumbnailWidth;
constexpr int cellHeight = ContactSheet::thumbnailHeight + labelGap + labelHeight;
constexpr int minimumColumns = 6;
// A large frame is first thinned to this many times the thumbnail's size:
// smooth scaling converts its source to 32 bits first, and a full-size
// conversion of a huge frame would cost more than the frame itself.
constexpr int prescaleFactor = 4;
const QColor background(48, 48, 48);
const QColor boxColour(72, 72, 72);
const QColor labelColour(235, 235, 235);

int columnsFor(int count)
{
    const int square = int(std::ceil(std::sqrt(double(count))));
    return qMin(count, qMax(minimumColumns, square));
}

}  // namespace

void ContactSheet::add(const QImage& frame, int number)
{
    if (isFull())
        return;
    QImage thumbnail;
    if (!frame.isNull()) {
        const QSize prescaled(prescaleFactor * thumbnailWidth, prescaleFactor * thumbnailHeight);
        const bool large = frame.width() > prescaled.width() || frame.height() > prescaled.height();
        const QImage source = large ? frame.scaled(prescaled, Qt::KeepAspectRatio, Qt::FastTransformation) : frame;
        thumbnail = source.scaled(thumbnailWidth, thumbnailHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    m_thumbnails.append({thumbnail, number});
}

QImage ContactSheet::render() const
{
    const int count = qMax(1, m_thumbnails.size());
    const int columns = columnsFor(count);
    const int rows = (count + columns - 1) / columns;
    QImage sheet(spacing + columns * (cellWidth + spacing), spacing + rows * (cellHeight + spacing),
                 QImage::Format_RGB32);
    sheet.fill(background);
    const DigitPainter digits(labelScale);
    for (int i = 0; i < m_thumbnails.size(); ++i) {
        const Thumbnail& thumbnail = m_thumbnails.at(i);
        const QPoint cell(spacing + (i % columns) * (cellWidth + spacing), spacing + (i / columns) * (cellHeight + spacing));
        {
            QPainter painter(&sheet);
            painter.fillRect(QRect(cell, QSize(thumbnailWidth, thumbnailHeight)), boxColour);
            const QSize size = thumbnail.image.size();
            painter.drawImage(cell + QPoint((thumbnailWidth - size.width()) / 2, (thumbnailHeight - size.height()) / 2),
                              thumbnail.image);
        }
        const QSize label = digits.textSize(thumbnail.number);
        digits.draw(sheet, cell + QPoint((cellWidth - label.width()) / 2, thumbnailHeight + labelGap),
                    thumbnail.number, labelColour);
    }
    return sheet;
}
