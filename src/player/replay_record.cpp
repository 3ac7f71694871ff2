#include "replay_record.h"

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

QString frameSize(const ReplayRecord& record)
{
    return QStringLiteral("%1x%2").arg(record.width).arg(record.height);
}

}  // namespace

bool ReplayRecord::fromJson(const QJsonObject& object, ReplayRecord& record, QString& error)
{
    record = ReplayRecord();
    const QJsonValue file = object.value(QLatin1String("file"));
    const QJsonValue warnings = object.value(QLatin1String("warnings"));
    if (!readInt(object, "trigger", record.trigger, error))
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
    record.warnings = warnings.toArray().size();
    record.delivered = !object.value(QLatin1String("frame")).isNull();
    if (!record.delivered)
        return true;
    int bytes = 0;
    if (!readInt(object, "width", record.width, error) || !readInt(object, "height", record.height, error)
        || !readInt(object, "depth", record.depth, error) || !readInt(object, "bytes", bytes, error))
        return false;
    record.bytes = bytes;
    record.pixelFormat = object.value(QLatin1String("pixelFormat")).toString();
    record.crc32 = object.value(QLatin1String("crc32")).toString();
    static const QRegularExpression hex32(QStringLiteral("^[0-9a-f]{8}$"));
    if (record.pixelFormat.isEmpty() || !hex32.match(record.crc32).hasMatch()) {
        error = QStringLiteral("the frame lacks a pixel format or a crc32 of 8 hex digits");
        return false;
    }
    return true;
}

QStringList ReplayRecord::differencesFrom(const ReplayRecord& manifest) const
{
    QStringList differences;
    const auto differ = [&differences](const QString& ours, const QString& theirs) {
        if (ours != theirs)
            differences.append(QStringLiteral("%1 (manifest %2)").arg(ours, theirs));
    };
    const auto fileName = [](const ReplayRecord& record) { return record.file.isEmpty() ? QStringLiteral("no file") : QStringLiteral("file ") + record.file; };
    differ(fileName(*this), fileName(manifest));
    if (delivered != manifest.delivered) {
        differ(delivered ? QStringLiteral("a frame") : QStringLiteral("no frame"),
               manifest.delivered ? QStringLiteral("a frame") : QStringLiteral("no frame"));
    } else if (delivered) {
        differ(frameSize(*this), frameSize(manifest));
        differ(QStringLiteral("%1 bit").arg(depth), QStringLiteral("%1 bit").arg(manifest.depth));
        differ(pixelFormat, manifest.pixelFormat);
        differ(QStringLiteral("%1 bytes").arg(bytes), QStringLiteral("%1 bytes").arg(manifest.bytes));
        differ(QStringLiteral("crc32 ") + crc32, QStringLiteral("crc32 ") + manifest.crc32);
    }
    differ(QStringLiteral("%1 warnings").arg(warnings), QStringLiteral("%1 warnings").arg(manifest.warnings));
    return differences;
}
