// One trigger of a kxcam-play run: the file it took, the frame it delivered
// and the warnings it logged. The player fills it in, --json writes it as a
// record, a manifest's records are read back into it, and a replay is checked
// by comparing records.
#ifndef TRIGGER_RECORD_H
#define TRIGGER_RECORD_H

#include "frame_description.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>

// The layout of kxcam-play's JSON records, which its first record names; a
// manifest of another layout is refused rather than misread.
constexpr int triggerRecordFormat = 1;

struct FrameRecord : FrameDescription {
    int number = 0;  // 1 for the first frame the run delivered
    std::uint32_t checksum = 0;

    QString crc32() const;  // the checksum as 8 hex digits
};

struct TriggerRecord {
    int number = 0;        // 1 for the run's first trigger
    QString file;          // the file it took, relative to the folder; empty when it took none
    bool delivered = false;
    FrameRecord frame;     // when delivered
    QStringList warnings;  // logged while it ran
    double dueSeconds = -1.0;  // in a paced run, when it was due after the first trigger's presentation

    QJsonObject toJson() const;
    // A record as toJson writes it; false with what is wrong in error.
    static bool fromJson(const QJsonObject& object, TriggerRecord& record, QString& error);

    // The file as a check names it: its path, or "no file".
    QString fileName() const;
    // What a replay must repeat and differs from the manifest's record of the
    // same trigger, each as "crc32 0badf00d (manifest crc32 1234abcd)";
    // nothing when they agree. Warnings count by number: their text names
    // absolute paths, which differ between machines.
    QStringList differencesFrom(const TriggerRecord& manifest) const;
};

// A pixel format's name, or its code where it has none.
QString pixelFormatName(int code);

#endif
