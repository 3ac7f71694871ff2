// The host's own record of the last delivered frame: the description the
// camera announced and a deep copy of its bytes in the announced format.
#ifndef HOST_FRAME_H
#define HOST_FRAME_H

#include <QImage>

struct HostFrame {
    int number = 0;  // 1 for the first frame since the folder was opened or restarted
    int width = 0;
    int height = 0;
    int depth = 0;
    int pixelFormat = 0;
    int bytes = 0;
    QImage image;  // null when the announced format has no Qt image format
};

#endif
