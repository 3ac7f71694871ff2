// What a file's header says of its decoded image, as an image reader gives
// it without decoding.
#ifndef IMAGE_HEADER_H
#define IMAGE_HEADER_H

#include <QImage>
#include <QSize>
#include <QString>

class ImageHeader {
public:
    // The format as a number: a reader that could not read a header may give
    // a value outside Qt's list (garbage, which must not be held as the enum),
    // and such a format is unknown.
    ImageHeader(const QSize& size, int format);

    // Whether the header gives a size; a file without one does not decode.
    bool isValid() const { return m_size.isValid() && !m_size.isEmpty(); }
    // The decoded image's bytes as QImage lays them out, each row padded to
    // 4 bytes; 4 bytes a pixel where the header does not name the format.
    qint64 decodedBytes() const;
    // Whether memory for such an image can be had now: told apart from a
    // file that fails to decode, a decode that failed for want of memory.
    bool allocatable() const;

private:
    QImage::Format assumedFormat() const;

    QSize m_size;
    QImage::Format m_format = QImage::Format_Invalid;
};

#endif
