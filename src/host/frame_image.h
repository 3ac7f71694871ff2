#ifndef FRAME_IMAGE_H
#define FRAME_IMAGE_H

#include "kxcam_camera.h"

#include <QImage>

// A deep copy of the frame being delivered, in its announced format, or a null
// image when the format has no Qt equivalent. Call it inside onFrame: the
// camera's pixel bytes are gone once the callback returns.
QImage frameImage(const ICameraObject& camera);

// The same frame without a copy: the image reads the camera's bytes, so it
// must not outlive the callback.
QImage frameView(const ICameraObject& camera);

#endif
