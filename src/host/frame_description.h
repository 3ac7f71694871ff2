// What a camera announces of the frame it is delivering.
#ifndef FRAME_DESCRIPTION_H
#define FRAME_DESCRIPTION_H

#include "kxcam_camera.h"

struct FrameDescription {
    int width = 0;
    int height = 0;
    int depth = 0;        // bits per pixel
    int pixelFormat = 0;  // a pixelFormatNames code
    int bytes = 0;        // rows with their padding
};

// Call it inside onFrame, where the description is the delivered frame's.
FrameDescription describeFrame(const ICameraObject& camera);

#endif
