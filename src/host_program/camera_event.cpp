#include "camera_event.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

// A path as the camera writes it: a JSON string literal, its control characters escaped.
#define KXCAM_PATH "(?<path>\"(?:[^\"\\\\\\x00-\\x1f]|\\\\.)*\")"
#define KXCAM_SECONDS "(?<seconds>\\d+\\.\\d+)"

struct LineForm {
    CameraEvent::Kind kind;
    QRegularExpression pattern;
};

// One form a line; a new line of the camera's is one more row.
const LineForm lineForms[] = {
    {CameraEvent::Kind::File, QRegularExpression("file (?<position>\\d+) of (?<files>\\d+) " KXCAM_PATH "\\z")},
    {CameraEvent::Kind::EndOfList, QRegularExpression("end of the list, (?<files>\\d+) files\\z")},
    {CameraEvent::Kind::Waiting, QRegularExpression("waiting for files after (?<files>\\d+)\\z")},
    {CameraEvent::Kind::TurnWithoutFrame, QRegularExpression("no frame in a whole turn of (?<files>\\d+) files\\z")},
    {CameraEvent::Kind::Scanning, QRegularExpression("scanning " KXCAM_PATH ": (?<files>\\d+) files so far\\z")},
    {CameraEvent::Kind::Scanned,
     QRegularExpression("scanned " KXCAM_PATH ": (?<files>\\d+) files in " KXCAM_SECONDS " s\\z")},
    {CameraEvent::Kind::Preloading, QRegularExpression("preloading (?<position>\\d+) of (?<files>\\d+) files\\z")},
    {CameraEvent::Kind::Preloaded,
     QRegularExpression("preloaded (?<position>\\d+) of (?<files>\\d+) files in " KXCAM_SECONDS " s\\z")},
};

#undef KXCAM_PATH
#undef KXCAM_SECONDS

// The text of a JSON string literal; false when it is none.
bool unquote(const QString& literal, QString& text)
{
    const QJsonValue value = QJsonDocument::fromJson(QByteArray("[") + literal.toUtf8() + ']').array().first();
    text = value.toString();
    return value.isString();
}

}  // namespace

CameraEvent CameraEvent::parse(const QString& line)
{
    const QLatin1String prefix("Virtual Camera: ");
    if (!line.startsWith(prefix))
        return {};
    for (const LineForm& form : lineForms) {
        const QRegularExpressionMatch match =
            form.pattern.match(line, prefix.size(), QRegularExpression::NormalMatch, QRegularExpression::AnchoredMatchOption);
        if (!match.hasMatch())
            continue;
        CameraEvent event;
        event.kind = form.kind;
        event.position = match.captured(QStringLiteral("position")).toInt();
        event.files = match.captured(QStringLiteral("files")).toInt();
        event.seconds = match.captured(QStringLiteral("seconds")).toDouble();
        const QString path = match.captured(QStringLiteral("path"));
        if (!path.isNull() && !unquote(path, event.path))
            return {};
        return event;
    }
    return {};
}
