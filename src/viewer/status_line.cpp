#include "status_line.h"

#include "kxcam_camera.h"

#include <QStringList>

QString statusLine(const HostFrame& frame, const FrameRates& rates, int warnings, bool endOfFolder)
{
    QStringList parts;
    if (frame.number > 0) {
        parts << QStringLiteral("frame %1: %2 \u00d7 %3").arg(frame.number).arg(frame.width).arg(frame.height)
              << QStringLiteral("%1 bit").arg(frame.depth)
              << QStringLiteral("%1 (%2)").arg(pixelFormatNames.value(frame.pixelFormat)).arg(frame.pixelFormat)
              << QStringLiteral("%1 bytes").arg(frame.bytes)
              << QStringLiteral("%1 frames/s (%2 drawn)").arg(rates.delivered, 0, 'f', 1).arg(rates.drawn, 0, 'f', 1);
    } else {
        parts << QStringLiteral("no frame yet");
    }
    parts << (warnings == 1 ? QStringLiteral("1 warning") : QStringLiteral("%1 warnings").arg(warnings));
    if (endOfFolder)
        parts << QStringLiteral("end of folder");
    return parts.join(QStringLiteral(", "));
}
