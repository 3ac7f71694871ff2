// Where a paced run takes its pace from: --pace mtime (the files' modification
// times) or --pace name:REGEX (a number in each file's path, relative to the
// folder, captured by a group named after its unit: s, ms, us or ns).
#ifndef PACE_RULE_H
#define PACE_RULE_H

#include "pace_schedule.h"

#include <QRegularExpression>
#include <QString>
#include <QtGlobal>

struct PaceRule {
    enum class Source { None, ModificationTime, FileName };
    Source source = Source::None;
    QRegularExpression pathPattern;  // FileName: matched against the file's path
    QString timeGroup;               // FileName: the group that captures the time, named after its unit
    qint64 unitNanoseconds = 1000000000;  // what one of those numbers is

    // "mtime" or "name:REGEX"; false with a one-line reason in error.
    static bool parse(const QString& text, PaceRule& rule, QString& error);

    // The time of `file`, relative to the camera's folder, whose absolute path is `path`.
    RecordedTime recordedTime(const QString& file, const QString& path) const;

    // A run at this pace, `speed` times as fast: at the files' recorded
    // times, or unpaced for Source::None.
    PaceSchedule schedule(double speed) const;
    // What the pace is made of: "file times" or "times in file names"; empty for Source::None.
    QString description() const;
};

#endif
