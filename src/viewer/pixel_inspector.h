// What a host's buffer holds at one pixel of a frame: its bytes in memory
// order, named by what the announced format makes of them.
#ifndef PIXEL_INSPECTOR_H
#define PIXEL_INSPECTOR_H

#include "frame_description.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

// "x 3, y 1: B 10, G 20, R 30, X 255" for an RGB32 frame, "x 3, y 1: value 7"
// for GRAY8; empty when the pixel lies outside the frame or the frame is null.
QString pixelDescription(const QImage& frame, int pixelFormat, const QPoint& pixel);

// "x 3, y 1: bytes 34 12" in hex, for a frame whose format names no bytes
// (None): the bytes the pixel's bits lie in, found from the announced depth and
// the bytes per row; empty outside the frame.
QString rawPixelDescription(const FrameDescription& frame, const QByteArray& bytes, const QPoint& pixel);

#endif
