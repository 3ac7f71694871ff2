#include "module_follow.h"

#include <QByteArray>

void setModuleFollows(bool follow)
{
    qputenv("KXCAM_FOLLOW", QByteArray(follow ? "1" : "0"));
}
