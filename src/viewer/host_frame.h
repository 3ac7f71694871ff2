// The host's own record of the last delivered frame: the description the
// camera announced, a deep copy of its bytes and the file it came from.
#ifndef HOST_FRAME_H
#define HOST_FRAME_H

#include "frame_description.h"

#include <QByteArray>
#include <QImage>
#include <QString>

struct HostFrame : FrameDescription {
    int number = 0;  // 1 for the first frame since the folder was opened or restarted
    QImage image;    // null when the announced format has no Qt image format
    QByteArray raw;  // the delivered bytes when image is null
    QString file;    // relative to the folder, as the host's own listing names it
    int position = -1;  // the file's place in that listing, from 0
    bool paletteIndices = false;  // GRAY8 read from a palette file: the bytes are colour indices
    double dueSeconds = 0.0;  // in a paced run, when it is shown, on the pace's schedule
};

#endif
