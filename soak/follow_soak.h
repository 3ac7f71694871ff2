// The follow soak: a writer process fills a followed folder while the camera
// triggers, and every file must come out once, whole.
#ifndef FOLLOW_SOAK_H
#define FOLLOW_SOAK_H

#include "camera_module.h"

#include <QString>

// The writer, run as a process of its own: `count` images into `folder`'s
// subfolders "early" (there before the camera opens) and "late" (made a
// quarter of the way through), each in chunks with pauses of up to
// `pauseMs`, every other one through a temporary name and a rename, every
// twentieth over 1 MB. Returns the process's exit status.
int writeFollowedFiles(const QString& folder, int count, int pauseMs, unsigned seed);

// Follows a folder while the writer at `program` fills it; true when every
// file was delivered once, each frame the decode of its finished file, and
// no file failed to load.
bool soakFollow(const CameraEntryPoints& entryPoints, const QString& program, int count, int pauseMs);

#endif
