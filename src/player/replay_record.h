// One trigger as kxcam-play --json records it, in the part a replay of the
// folder must repeat: the file it took, the frame it delivered and how many
// warnings it logged (their text names absolute paths, which differ between
// machines).
#ifndef REPLAY_RECORD_H
#define REPLAY_RECORD_H

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The layout of kxcam-play's JSON records, which its first record names; a
// manifest of another layout is refused rather than misread.
constexpr int replayRecordFormat = 1;

struct ReplayRecord {
    int trigger = 0;  // 1 for the run's first
    QString file;     // relative to the folder; empty when the trigger took none
    bool delivered = false;
    int width = 0;
    int height = 0;
    int depth = 0;
    QString pixelFormat;
    qint64 bytes = 0;
    QString crc32;
    int warnings = 0;

    // A trigger record of kxcam-play --json; false with what is wrong in error.
    static bool fromJson(const QJsonObject& object, ReplayRecord& record, QString& error);

    // What differs from the manifest's record of the same trigger, each as
    // "crc32 0badf00d (manifest 1234abcd)"; nothing when they agree.
    QStringList differencesFrom(const ReplayRecord& manifest) const;
};

#endif
