// The host's own record of the last delivered frame: the description the
// camera announced and a deep copy of its bytes in the announced format.
#ifndef HOST_FRAME_H
#define HOST_FRAME_H

#include "frame_description.h"

#include <QImage>

struct HostFrame : FrameDescription {
    int number = 0;  // 1 for the first frame since the folder was opened or restarted
    QImage image;    // null when the announced format has no Qt image format
};

#endif
