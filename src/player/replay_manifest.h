// A manifest: what an earlier kxcam-play --json run wrote, read back whole and
// checked for being complete, of this program and of this record layout, so
// that a damaged or foreign one is refused rather than compared.
#ifndef REPLAY_MANIFEST_H
#define REPLAY_MANIFEST_H

#include "replay_record.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class ReplayManifest {
public:
    // false with a one-line reason, naming the file, in error.
    bool read(const QString& path, QString& error);
    // The same from the lines themselves; name is the file's, for error.
    bool parse(const QByteArray& lines, const QString& name, QString& error);

    // In trigger order, numbered from 1.
    const QVector<ReplayRecord>& triggers() const { return m_triggers; }

private:
    QVector<ReplayRecord> m_triggers;
};

#endif
