#include "frame_report.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace {

QByteArray jsonLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QString plural(int count, const char* singular, const char* pluralForm)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : pluralForm));
}

}  // namespace

double RunSummary::framesPerSecond() const
{
    return frames > 1 && frameSpanSeconds > 0.0 ? (frames - 1) / frameSpanSeconds : 0.0;
}

double RunSummary::megabytesPerSecond() const
{
    return frames > 0 ? framesPerSecond() * double(bytes) / frames / 1e6 : 0.0;
}

double RunSummary::triggerSecondsPerFrame() const
{
    return frames > 0 ? triggerSeconds / frames : 0.0;
}

QByteArray cameraLine(int bitsPerPixel, int pixelFormat, bool json)
{
    if (json)
        return jsonLine({{QStringLiteral("camera"),
                          QJsonObject{{QStringLiteral("bitsPerPixel"), bitsPerPixel},
                           {QStringLiteral("pixelFormat"), pixelFormatName(pixelFormat)}}},
                         {QStringLiteral("program"), QCoreApplication::applicationName()},
                         {QStringLiteral("version"), QCoreApplication::applicationVersion()},
                         {QStringLiteral("recordFormat"), triggerRecordFormat}});
    return QStringLiteral("camera: %1 bits per pixel before the first frame (pixel format %2)\n")
        .arg(bitsPerPixel)
        .arg(pixelFormatName(pixelFormat))
        .toUtf8();
}

QByteArray triggerLine(const TriggerRecord& trigger, bool json)
{
    const FrameRecord& frame = trigger.frame;
    if (json)
        return jsonLine(trigger.toJson());
    if (!trigger.delivered)
        return QByteArray();
    return QStringLiteral("frame %1: %2x%3, %4 bit, %5, %6 bytes, crc32 %7, file %8\n")
        .arg(frame.number)
        .arg(frame.width)
        .arg(frame.height)
        .arg(frame.depth)
        .arg(pixelFormatName(frame.pixelFormat))
        .arg(frame.bytes)
        .arg(frame.crc32(), trigger.file)
        .toUtf8();
}

QByteArray summaryLine(const RunSummary& summary, bool json)
{
    if (json) {
        QJsonObject fields{{QStringLiteral("frames"), summary.frames},
                           {QStringLiteral("triggersWithoutFrame"), summary.triggersWithoutFrame},
                           {QStringLiteral("warnings"), summary.warnings},
                           {QStringLiteral("warningsBeforeFirstTrigger"), summary.warningsBeforeFirstTrigger},
                           {QStringLiteral("openSeconds"), summary.openSeconds},
                           {QStringLiteral("frameSpanSeconds"), summary.frameSpanSeconds},
                           {QStringLiteral("bytes"), double(summary.bytes)},
                           {QStringLiteral("framesPerSecond"), summary.framesPerSecond()},
                           {QStringLiteral("megabytesPerSecond"), summary.megabytesPerSecond()},
                           {QStringLiteral("triggerSecondsPerFrame"), summary.triggerSecondsPerFrame()},
                           {QStringLiteral("saved"), summary.saved < 0 ? QJsonValue() : summary.saved},
                           {QStringLiteral("interrupted"), summary.interrupted}};
        if (summary.paced) {
            fields.insert(QStringLiteral("lateTriggers"), summary.lateTriggers);
            fields.insert(QStringLiteral("largestLagSeconds"), summary.largestLagSeconds);
        }
        return jsonLine({{QStringLiteral("summary"), fields}});
    }
    const double perFrame = summary.triggerSecondsPerFrame();
    const QString saved = summary.saved < 0 ? QString() : QStringLiteral(", %1").arg(plural(summary.saved, "frame saved", "frames saved"));
    const QString behind = !summary.paced ? QString()
                                          : QStringLiteral("; behind the pace: %1, by %2 ms at most")
                                                .arg(plural(summary.lateTriggers, "trigger late", "triggers late"))
                                                .arg(summary.largestLagSeconds * 1e3, 0, 'f', 1);
    return QStringLiteral("summary: %1, %2, %3 (%4 before the first trigger), open %5 s, %6 s from the first "
                          "frame's trigger to the last's, %7 frames/s and %8 MB/s over it; "
                          "in the camera's trigger %9 ms a frame (%10 frames/s)%11%12\n")
        .arg(plural(summary.frames, "frame delivered", "frames delivered"),
             plural(summary.triggersWithoutFrame, "trigger without a frame", "triggers without a frame"),
             plural(summary.warnings, "warning", "warnings"))
        .arg(summary.warningsBeforeFirstTrigger)
        .arg(summary.openSeconds, 0, 'f', 3)
        .arg(summary.frameSpanSeconds, 0, 'f', 3)
        .arg(summary.framesPerSecond(), 0, 'f', 1)
        .arg(summary.megabytesPerSecond(), 0, 'f', 1)
        .arg(perFrame * 1e3, 0, 'f', 3)
        .arg(perFrame > 0.0 ? 1.0 / perFrame : 0.0, 0, 'f', 1)
        .arg(saved + behind, QLatin1String(summary.interrupted ? " (interrupted)" : ""))
        .toUtf8();
}
