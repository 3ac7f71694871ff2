// A checksum of a frame's pixels that two hosts can compare: CRC-32 (the one
// of zlib and PNG, computed by zlib) over the bytes of each row that hold
// pixels. Row padding is left out, since decoders may leave it uninitialised,
// and so are the unused low bits of a row's last byte when its pixels end
// inside that byte.
#ifndef PIXEL_CHECKSUM_H
#define PIXEL_CHECKSUM_H

#include "kxcam_camera.h"

#include <QImage>

#include <cstdint>

// The frame being delivered, read from the camera's description; call it inside onFrame.
std::uint32_t pixelChecksum(const ICameraObject& camera);
// The same checksum of an image a host decoded or copied itself.
std::uint32_t pixelChecksum(const QImage& image);

#endif
