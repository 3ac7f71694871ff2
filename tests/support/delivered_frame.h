// What a host sees of one frame inside onFrame, kept for comparison after
// trigger has returned.
#ifndef DELIVERED_FRAME_H
#define DELIVERED_FRAME_H

#include "kxcam_camera.h"

#include <QByteArray>
#include <QImage>
#include <QList>

struct DeliveredFrame {
    int frameCount = 0;
    int width = 0;
    int height = 0;
    int imageSize = 0;
    int bitsPerPixel = 0;
    int pixelFormat = 0;
    int recordWidth = 0;
    int recordHeight = 0;
    QByteArray bytes;
};

DeliveredFrame captureFrame(const ICameraObject& camera);

// The bytes a host expects for a file: Qt's own decode, with its row padding.
QByteArray decodedBytes(const QString& path);
QByteArray imageBytes(const QImage& image);

// The bytes a frame of the file must carry whatever the memory held before:
// Qt's decode into an image whose bytes were all 0, with each row's padding
// and the unused bits of its last byte 0. Empty when the file does not decode.
QByteArray definedBytes(const QString& path);

// Leaves freed blocks of that size full of 0xff behind, as a long-running
// host's heap holds old frames, so a buffer taken from it shows what it held.
void dirtyHeap(int bytes);

// The bytes of every row that hold pixels, without the row padding a decoder
// may leave uninitialised. The unused low bits of a last byte are masked.
QByteArray pixelRows(const QByteArray& bytes, int height, int width, int bitsPerPixel);
QByteArray pixelRows(const DeliveredFrame& frame);
QByteArray pixelRows(const QImage& image);

// The pixel format code a host is told for a frame decoded to `format`.
int announcedPixelFormat(QImage::Format format);

// Sizes of the frames, for compact sequence comparisons.
QList<QSize> frameSizes(const QList<DeliveredFrame>& frames);

#endif
