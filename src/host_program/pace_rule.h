// Where a paced run takes its pace from: --pace mtime (the files' modification
// times) or --pace name:REGEX (a number in each file's path, relative to the
// folder, captured by a group named after its unit: s, ms, us or ns), scaled
// by --speed.
#ifndef PACE_RULE_H
#define PACE_RULE_H

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// A file's time as recorded, in nanoseconds from some moment of its rule's.
struct RecordedTime {
    QString file;  // relative to the folder
    bool known = false;
    qint64 nanoseconds = 0;
};

struct PaceRule {
    enum class Source { None, ModificationTime, FileName };
    Source source = Source::None;
    QRegularExpression name;  // FileName
    QString unit;              // FileName: the name of the group that captures the number
    qint64 unitNanoseconds = 1000000000;  // what one of those numbers is
    double speed = 1.0;

    // "mtime" or "name:REGEX"; false with a one-line reason in error.
    static bool parse(const QString& text, PaceRule& rule, QString& error);

    // The time of `file`, relative to the camera's folder, whose absolute path is `path`.
    RecordedTime recordedTime(const QString& file, const QString& path) const;

    // How the pace is shown: "file times", "times in file names", with " × 2" for a speed of 2.
    QString description() const;
};

#endif
