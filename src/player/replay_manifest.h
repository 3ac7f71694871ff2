// A manifest: what an earlier kxcam-play --json run wrote, read back whole and
// checked for being complete, of this program and of this record layout, so
// that a damaged or foreign one is refused rather than compared.
#ifndef REPLAY_MANIFEST_H
#define REPLAY_MANIFEST_H

#include "trigger_record.h"

#include <QByteArray>
#include <QString>
#include <QVector>

class ReplayManifest {
public:
    // false with a one-line reason, naming the file, in error.
    bool read(const QString& path, QString& error);

    // In trigger order, numbered from 1.
    const QVector<TriggerRecord>& triggers() const { return m_triggers; }

private:
    bool parse(const QByteArray& lines, const QString& name, QString& error);

    QVector<TriggerRecord> m_triggers;
};

#endif
