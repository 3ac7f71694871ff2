// KXCAM_PRELOAD_MAX_MB for the cameras created while it lives, so a test's
// folder of a few MiB can pass the preload cache's budget.
#ifndef PRELOAD_CAP_H
#define PRELOAD_CAP_H

#include <QByteArray>
#include <QtGlobal>

class PreloadCap {
public:
    // A null value leaves the variable unset; an empty one sets it to nothing.
    explicit PreloadCap(const QByteArray& mebibytes)
    {
        if (!mebibytes.isNull())
            qputenv(name, mebibytes);
    }
    ~PreloadCap() { qunsetenv(name); }
    PreloadCap(const PreloadCap&) = delete;
    PreloadCap& operator=(const PreloadCap&) = delete;

private:
    static constexpr const char* name = "KXCAM_PRELOAD_MAX_MB";
};

#endif
