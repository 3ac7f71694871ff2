// Decodes an image file so that every byte of the result is defined: what the
// file does not give (pixels a reader skips or never reaches, row padding,
// the unused bits of a row's last byte) is 0, whatever the memory held before.
#ifndef FRAME_DECODER_H
#define FRAME_DECODER_H

#include "image_header.h"

#include <QImage>
#include <QImageReader>
#include <QString>

class QIODevice;

class FrameDecoder {
public:
    // Opens the file; nothing is read from it yet.
    explicit FrameDecoder(const QString& path);
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // What the file's header says, read without decoding; the decode goes on
    // from there, so the header is read (and any reader warning written) once.
    ImageHeader header();
    // Decodes into image, reusing its buffer when size and format match, as
    // Qt's readers do. A file that cannot be decoded leaves a null image, and
    // false.
    bool decode(QImage& image);
    static void decode(const QString& path, QImage& image);

    // Whether Qt's readers may leave pixels of this file unwritten, decided
    // from its header and length: an RLE BMP (skips and early ends), a BMP
    // shorter than the pixel rows it announces, a 16-bit RGB PNG (read with a
    // transparency chunk into 8-byte pixels of which only 6 are filled).
    // The device must be open; it is only peeked at.
    static bool mayLeavePixelsUndefined(QIODevice& file);

    // Zeroes each row's bytes past its last pixel.
    static void clearRowPadding(QImage& image);

private:
    QString m_path;
    QImageReader m_reader;
    bool m_clearFirst;
};

#endif
