#include "pace_rule.h"

#include <QDateTime>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

struct Unit {
    const char* name;
    double seconds;
};

constexpr Unit units[] = {{"s", 1.0}, {"ms", 1e-3}, {"us", 1e-6}, {"ns", 1e-9}};

QString unitNames()
{
    QStringList names;
    for (const Unit& unit : units)
        names.append(QLatin1String(unit.name));
    return names.join(QStringLiteral(", "));
}

}  // namespace

bool PaceRule::parse(const QString& text, PaceRule& rule, QString& error)
{
    const QString namePrefix = QStringLiteral("name:");
    if (text == QLatin1String("mtime")) {
        rule.source = Source::ModificationTime;
        return true;
    }
    if (!text.startsWith(namePrefix)) {
        error = QStringLiteral("--pace takes mtime or name:REGEX, not '%1'").arg(text);
        return false;
    }
    const QRegularExpression pattern(text.mid(namePrefix.size()));
    if (!pattern.isValid()) {
        error = QStringLiteral("--pace %1: %2 at offset %3").arg(text, pattern.errorString()).arg(pattern.patternErrorOffset());
        return false;
    }
    const QStringList groups = pattern.namedCaptureGroups();
    for (const Unit& unit : units) {
        if (groups.contains(QLatin1String(unit.name))) {
            rule.source = Source::FileName;
            rule.name = pattern;
            rule.unit = QLatin1String(unit.name);
            rule.unitSeconds = unit.seconds;
            return true;
        }
    }
    error = QStringLiteral("--pace %1 captures no time: name the group of the number by its unit (%2), "
                           "e.g. name:_(?<ms>\\d+)\\.png")
                .arg(text, unitNames());
    return false;
}

QVector<RecordedTime> PaceRule::recordedTimes(const QStringList& paths, const QString& root) const
{
    QVector<RecordedTime> times;
    times.reserve(paths.size());
    // Milliseconds since the epoch lose their last digits as seconds in a double: counted from the first file's.
    qint64 firstMilliseconds = 0;
    bool firstFound = false;
    for (const QString& path : paths) {
        RecordedTime time{path.mid(root.size() + 1), std::numeric_limits<double>::quiet_NaN()};
        if (source == Source::ModificationTime) {
            const QDateTime modified = QFileInfo(path).lastModified();
            if (modified.isValid()) {
                if (!firstFound)
                    firstMilliseconds = modified.toMSecsSinceEpoch();
                firstFound = true;
                time.seconds = double(modified.toMSecsSinceEpoch() - firstMilliseconds) / 1e3;
            }
        } else {
            bool isNumber = false;
            const double number = name.match(time.file).captured(unit).toDouble(&isNumber);
            if (isNumber && std::isfinite(number))
                time.seconds = number * unitSeconds;
        }
        times.append(time);
    }
    return times;
}

QString PaceRule::description() const
{
    QString text = source == Source::ModificationTime ? QStringLiteral("file times") : QStringLiteral("times in file names");
    if (speed != 1.0)
        text += QStringLiteral(" \u00d7 %1").arg(speed);
    return text;
}
