#include "status_line.h"

#include "kxcam_camera.h"

#include <QLocale>
#include <QStringList>

QString statusLine(const HostFrame& frame, const RunFacts& facts)
{
    QStringList parts;
    if (frame.number > 0) {
        const QString place = frame.position >= 0 ? countText(frame.position + 1) : QStringLiteral("?");
        // One arg() for all, so that a "%1" in a file name stays as it is.
        parts << QStringLiteral("frame %1 of %2: %3").arg(place, countText(facts.files), frame.file)
              << QStringLiteral("%1 \u00d7 %2").arg(frame.width).arg(frame.height)
              << QStringLiteral("%1 bit").arg(frame.depth)
              << QStringLiteral("%1 (%2)").arg(pixelFormatNames.value(frame.pixelFormat)).arg(frame.pixelFormat)
              << QStringLiteral("%1 bytes").arg(frame.bytes);
        if (facts.framesPerSecond > 0.0)
            parts << QStringLiteral("%1 frames/s").arg(facts.framesPerSecond, 0, 'f', 1);
        if (!facts.pace.isEmpty())
            parts << QStringLiteral("pace: ") + facts.pace;
        parts << QStringLiteral("zoom %1 %").arg(qRound(facts.zoom * 1000.0) / 10.0);
    } else {
        parts << QStringLiteral("no frame yet");
    }
    parts << (facts.warnings == 1 ? QStringLiteral("1 warning") : QStringLiteral("%1 warnings").arg(facts.warnings));
    if (facts.endOfFolder)
        parts << QStringLiteral("end of folder");
    else if (facts.waitingForFiles)
        parts << QStringLiteral("waiting for files");
    return parts.join(QStringLiteral(", "));
}

QString countText(int count)
{
    return QLocale(QLocale::English).toString(count);
}
