// A delivered frame written to a file as kxcam-play's --save writes it, so
// that every frame can be saved: a PNG of its pixels where its pixel format has
// a Qt image format, its raw bytes otherwise.
#ifndef SAVED_FRAME_H
#define SAVED_FRAME_H

#include "frame_description.h"

#include <QString>

// Writes frame number `number` into folder as frame_NNNNNN.png, or for a
// format without an image format (None) as
// frame_NNNNNN_WIDTHxHEIGHT_DEPTHbit_BYTESPERROWbpr.raw, the rows as the camera
// delivered them. Returns the path written, or an empty string with the
// system's reason in error.
QString saveFrame(const FrameDescription& frame, const uchar* bytes, const QString& folder, int number,
                  QString& error);

// The PNG name of frame number `number`, which a folder of earlier frames holds.
QString savedFrameName(int number);

#endif
