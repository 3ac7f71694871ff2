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
