#ifndef KXCAM_EXPORT_H
#define KXCAM_EXPORT_H

#if defined(_WIN32)
#define KXCAM_EXPORT __declspec(dllexport)
#else
#define KXCAM_EXPORT __attribute__((visibility("default")))
#endif

#endif
