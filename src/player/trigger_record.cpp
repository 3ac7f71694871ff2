#include "trigger_record.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

bool readInt(const QJsonObject& object, const char* key, int& value, QString& error)
{
    const QJsonValue field = object.value(QLatin1String(key));
    const double number = field.toDouble(-1.0);
    if (!field.isDouble() || number < 0.0 || number != double(int(number))) {
        error = QStringLiteral("%1 is not a whole number").arg(QLatin1String(key));
        return false;
    }
    value = int(number);
    return true;
}

QString frameSize(const FrameRecord& frame)
{
    return QStringLiteral("%1x%2").arg(frame.width).arg(frame.height);
}

}  // namespace

QString FrameRecord::crc32() const
{
    return QStringLiteral("%1").arg(checksum, 8, 16, QLatin1Char('0'));
}

QString pixelFormatName(int code)
{
    return pixelFormatNames.value(code, QString::number(code));
}

QJsonObject TriggerRecord::toJson() const
{
    QJsonObject record{{QStringLiteral("trigger"), number},
                       {QStringLiteral("file"), file.isEmpty() ? QJsonValue() : QJsonValue(file)},
                       {QStringLiteral("frame"), QJsonValue()},
                       {QStringLiteral("warnings"), QJsonArray::fromStringList(warnings)}};
    if (dueSeconds >= 0.0)
        record.insert(QStringLiteral("due"), dueSeconds);
    if (delivered) {
        record.insert(QStringLiteral("frame"), frame.number);
        record.insert(QStringLiteral("width"), frame.width);
        record.insert(QStringLiteral("height"), frame.height);
        record.insert(QStringLiteral("depth"), frame.depth);
        record.insert(QStringLiteral("pixelFormat"), pixelFormatName(frame.pixelFormat));
        record.insert(QStringLiteral("pixelFormatCode"), frame.pixelFormat);
        record.insert(QStringLiteral("bytes"), frame.bytes);
        record.insert(QStringLiteral("crc32"), frame.crc32());
    }
    return record;
}

bool TriggerRecord::fromJson(const QJsonObject& object, TriggerRecord& record, QString& error)
{
    record = TriggerRecord();
    const QJsonValue file = object.value(QLatin1String("file"));
    const QJsonValue warnings = object.value(QLatin1String("warnings"));
    if (!readInt(object, "trigger", record.number, error))
        return false;
    if (!file.isString() && !file.isNull()) {
        error = QStringLiteral("file is neither a path nor null");
        return false;
    }
    if (!warnings.isArray()) {
        error = QStringLiteral("warnings is not a list");
        return false;
    }
    record.file = file.toString();
    for (const QJsonValue& warning : warnings.toArray())
        record.warnings.append(warning.toString());
    record.dueSeconds = object.value(QLatin1String("due")).toDouble(-1.0);
    record.delivered = !object.value(QLatin1String("frame")).isNull();
    if (!record.delivered)
        return true;
    FrameRecord& frame = record.frame;
    if (!readInt(object, "frame", frame.number, error) || !readInt(object, "width", frame.width, error)
        || !readInt(object, "height", frame.height, error) || !readInt(object, "depth", frame.depth, error)
        || !readInt(object, "bytes", frame.bytes, error))
        return false;
    const QJsonValue code = object.value(QLatin1String("pixelFormatCode"));
    const QString crc32 = object.value(QLatin1String("crc32")).toString();
    static const QRegularExpression eightHexDigits(QStringLiteral("^[0-9a-f]{8}$"));
    if (!code.isDouble() || object.value(QLatin1String("pixelFormat")).toString() != pixelFormatName(code.toInt())
        || !eightHexDigits.match(crc32).hasMatch()) {
        error = QStringLiteral("the frame lacks a pixel format or a crc32 of 8 hex digits");
        return false;
    }
    frame.pixelFormat = code.toInt();
    frame.checksum = crc32.toUInt(nullptr, 16);
    return true;
}

QString TriggerRecord::fileName() const
{
    return file.isEmpty() ? QStringLiteral("no file") : file;
}

QStringList TriggerRecord::differencesFrom(const TriggerRecord& manifest) const
{
    QStringList differences;
    const auto differ = [&differences](const QString& ours, const QString& theirs) {
        if (ours != theirs)
            differences.append(QStringLiteral("%1 (manifest %2)").arg(ours, theirs));
    };
    const auto fileText = [](const TriggerRecord& record) {
        return record.file.isEmpty() ? record.fileName() : QStringLiteral("file ") + record.file;
    };
    const auto frameText = [](bool delivered) { return delivered ? QStringLiteral("a frame") : QStringLiteral("no frame"); };
    differ(fileText(*this), fileText(manifest));
    if (delivered != manifest.delivered) {
        differ(frameText(delivered), frameText(manifest.delivered));
    } else if (delivered) {
        const FrameRecord& theirs = manifest.frame;
        differ(frameSize(frame), frameSize(theirs));
        differ(QStringLiteral("%1 bit").arg(frame.depth), QStringLiteral("%1 bit").arg(theirs.depth));
        differ(pixelFormatName(frame.pixelFormat), pixelFormatName(theirs.pixelFormat));
        differ(QStringLiteral("%1 bytes").arg(frame.bytes), QStringLiteral("%1 bytes").arg(theirs.bytes));
        differ(QStringLiteral("crc32 ") + frame.crc32(), QStringLiteral("crc32 ") + theirs.crc32());
    }
    differ(QStringLiteral("%1 warnings").arg(warnings.size()), QStringLiteral("%1 warnings").arg(manifest.warnings.size()));
    return differences;
}
