// Whether cameras follow their folder as it grows, and how long a file must
// stay unchanged to be taken as complete where the system does not say so:
// set by the host's user in the environment, read when a camera is created.
#ifndef FOLLOW_SETTINGS_H
#define FOLLOW_SETTINGS_H

#include <QtGlobal>

struct FollowSettings {
    bool follow = false;
    qint64 settleMilliseconds = 200;

    // KXCAM_FOLLOW: 1 follows, 0 or unset does not. KXCAM_FOLLOW_SETTLE_MS: a
    // whole number of milliseconds up to an hour. Any other value is ignored
    // with a warning.
    static FollowSettings fromEnvironment();
};

#endif
