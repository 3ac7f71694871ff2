// Where a paced run takes its pace from: --pace mtime (the files' modification
// times) or --pace name:REGEX (a number in each file's path, relative to the
// folder, captured by a group named after its unit: s, ms, us or ns), scaled
// by --speed.
#ifndef PACE_RULE_H
#define PACE_RULE_H

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>

// A file's time as recorded, in seconds; NaN when it has none.
struct RecordedTime {
    QString file;  // relative to the folder
    double seconds = 0.0;
};

struct PaceRule {
    enum class Source { None, ModificationTime, FileName };
    Source source = Source::None;
    QRegularExpression name;  // FileName
    QString unit;              // FileName: the name of the group that captures the number
    double unitSeconds = 1.0;  // what one of those numbers is
    double speed = 1.0;

    // "mtime" or "name:REGEX"; false with a one-line reason in error.
    static bool parse(const QString& text, PaceRule& rule, QString& error);

    // The times of paths, all below root (the camera's folder path), in that order.
    QVector<RecordedTime> recordedTimes(const QStringList& paths, const QString& root) const;

    // How the pace is shown: "file times", "times in file names", with " × 2" for a speed of 2.
    QString description() const;
};

#endif
