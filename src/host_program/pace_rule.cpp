#include "pace_rule.h"

#include "file_time.h"

#include <cmath>
#include <limits>

namespace {

struct Unit {
    const char* name;
    qint64 nanoseconds;
};

constexpr Unit units[] = {{"s", 1000000000}, {"ms", 1000000}, {"us", 1000}, {"ns", 1}};

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
            rule.pathPattern = pattern;
            rule.timeGroup = QLatin1String(unit.name);
            rule.unitNanoseconds = unit.nanoseconds;
            return true;
        }
    }
    error = QStringLiteral("--pace %1 captures no time: name the group of the number by its unit (%2), "
                           "e.g. name:_(?<ms>\\d+)\\.png")
                .arg(text, unitNames());
    return false;
}

RecordedTime PaceRule::recordedTime(const QString& file, const QString& path) const
{
    RecordedTime time{file, false, 0};
    if (source == Source::ModificationTime) {
        time.known = fileModificationTime(path, time.nanoseconds);
        return time;
    }
    // A whole number is taken exactly, as nanoseconds since 1970 need; others as a double.
    const QString number = pathPattern.match(file).captured(timeGroup);
    bool isWhole = false;
    const qint64 whole = number.toLongLong(&isWhole);
    if (isWhole && qAbs(whole) <= std::numeric_limits<qint64>::max() / unitNanoseconds) {
        time.known = true;
        time.nanoseconds = whole * unitNanoseconds;
        return time;
    }
    bool isNumber = false;
    const double nanoseconds = number.toDouble(&isNumber) * double(unitNanoseconds);
    time.known = isNumber && std::abs(nanoseconds) < 9e18;
    time.nanoseconds = time.known ? qint64(std::llround(nanoseconds)) : 0;
    return time;
}

PaceSchedule PaceRule::schedule(double speed) const
{
    return source == Source::None ? PaceSchedule() : PaceSchedule::fromRecordedTimes(speed);
}

QString PaceRule::description() const
{
    switch (source) {
    case Source::ModificationTime: return QStringLiteral("file times");
    case Source::FileName: return QStringLiteral("times in file names");
    case Source::None: break;
    }
    return QString();
}
