// The public members of a camera object that a host reads, as one comparable value.
#ifndef CAMERA_STATE_H
#define CAMERA_STATE_H

#include "kxcam_camera.h"

#include <QString>

struct CameraState {
    bool opened = false;
    bool grabbing = false;
    int width = 0;
    int height = 0;
    int imageSize = 0;
    int bitsPerPixel = 0;
    int pixelFormat = 0;
    int reserved = 0;
    int frameCount = 0;
    int startCount = 0;
    int activeGrabMode = 0;
    int grabMode = 1;
    bool imageDataNull = true;

    bool operator==(const CameraState& other) const;
    bool operator!=(const CameraState& other) const { return !(*this == other); }
    QString toString() const;
};

CameraState stateOf(const ICameraObject& camera);

#endif
