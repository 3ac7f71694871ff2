#include "follow_settings.h"

#include <QByteArray>
#include <QDebug>
#include <QMessageLogger>
#include <QString>

namespace {

const char followVariable[] = "KXCAM_FOLLOW";
const char settleVariable[] = "KXCAM_FOLLOW_SETTLE_MS";
constexpr qint64 mostSettleMilliseconds = 3600 * 1000;

}  // namespace

FollowSettings FollowSettings::fromEnvironment()
{
    FollowSettings settings;
    const QByteArray follow = qgetenv(followVariable);
    const QByteArray trimmed = follow.trimmed();
    if (trimmed == "1")
        settings.follow = true;
    else if (!follow.isNull() && trimmed != "0")
        QMessageLogger().warning() << "Virtual Camera: Follow( " << QString::fromLocal8Bit(follow) << " ) of"
                                   << followVariable << "ignored, the camera plays its folder as listed: it takes 1 or 0";
    const QByteArray settle = qgetenv(settleVariable);
    if (!settings.follow || settle.isNull())
        return settings;
    bool isNumber = false;
    const qint64 milliseconds = settle.trimmed().toLongLong(&isNumber);
    if (isNumber && milliseconds >= 0 && milliseconds <= mostSettleMilliseconds)
        settings.settleMilliseconds = milliseconds;
    else
        QMessageLogger().warning() << "Virtual Camera: Settle time( " << QString::fromLocal8Bit(settle) << " ) of"
                                   << settleVariable << "ignored, files settle for" << settings.settleMilliseconds
                                   << "ms: it takes a whole number of ms from 0 to" << mostSettleMilliseconds;
    return settings;
}
