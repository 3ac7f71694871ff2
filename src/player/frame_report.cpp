#include "frame_report.h"

#include "kxcam_camera.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace {

QString formatName(int code)
{
    return pixelFormatNames.value(code, QString::number(code));
}

QString hex32(std::uint32_t value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0'));
}

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
    return seconds > 0.0 ? double(bytes) / 1e6 / seconds : 0.0;
}

QByteArray cameraLine(int bitsPerPixel, int pixelFormat, bool json)
{
    if (json)
        return jsonLine({{QStringLiteral("camera"),
                          QJsonObject{{QStringLiteral("bitsPerPixel"), bitsPerPixel},
                                      {QStringLiteral("pixelFormat"), formatName(pixelFormat)}}}});
    return QStringLiteral("camera: %1 bits per pixel before the first frame (pixel format %2)\n")
        .arg(bitsPerPixel)
        .arg(formatName(pixelFormat))
        .toUtf8();
}

QByteArray frameLine(const FrameRecord& frame, bool json)
{
    if (json)
        return jsonLine({{QStringLiteral("frame"), frame.number},
                         {QStringLiteral("width"), frame.width},
                         {QStringLiteral("height"), frame.height},
                         {QStringLiteral("depth"), frame.depth},
                         {QStringLiteral("pixelFormat"), formatName(frame.pixelFormat)},
                         {QStringLiteral("pixelFormatCode"), frame.pixelFormat},
                         {QStringLiteral("bytes"), frame.bytes},
                         {QStringLiteral("crc32"), hex32(frame.checksum)}});
    return QStringLiteral("frame %1: %2x%3, %4 bit, %5, %6 bytes, crc32 %7\n")
        .arg(frame.number)
        .arg(frame.width)
        .arg(frame.height)
        .arg(frame.depth)
        .arg(formatName(frame.pixelFormat))
        .arg(frame.bytes)
        .arg(hex32(frame.checksum))
        .toUtf8();
}

QByteArray summaryLine(const RunSummary& summary, bool json)
{
    if (json)
        return jsonLine({{QStringLiteral("summary"),
                          QJsonObject{{QStringLiteral("frames"), summary.frames},
                                      {QStringLiteral("triggersWithoutFrame"), summary.triggersWithoutFrame},
                                      {QStringLiteral("warnings"), summary.warnings},
                                      {QStringLiteral("warningsBeforeFirstTrigger"), summary.warningsBeforeFirstTrigger},
                                      {QStringLiteral("seconds"), summary.seconds},
                                      {QStringLiteral("bytes"), double(summary.bytes)},
                                      {QStringLiteral("framesPerSecond"), summary.framesPerSecond()},
                                      {QStringLiteral("megabytesPerSecond"), summary.megabytesPerSecond()},
                                      {QStringLiteral("interrupted"), summary.interrupted}}}});
    return QStringLiteral("summary: %1, %2, %3 (%4 before the first trigger), %5 s, %6 frames/s, %7 MB/s%8\n")
        .arg(plural(summary.frames, "frame delivered", "frames delivered"),
             plural(summary.triggersWithoutFrame, "trigger without a frame", "triggers without a frame"),
             plural(summary.warnings, "warning", "warnings"))
        .arg(summary.warningsBeforeFirstTrigger)
        .arg(summary.seconds, 0, 'f', 3)
        .arg(summary.framesPerSecond(), 0, 'f', 1)
        .arg(summary.megabytesPerSecond(), 0, 'f', 1)
        .arg(QLatin1String(summary.interrupted ? " (interrupted)" : ""))
        .toUtf8();
}
