// A replay compared, trigger by trigger, with the manifest an earlier run
// wrote: the differences counted, the first few kept to be shown.
#ifndef MANIFEST_CHECK_H
#define MANIFEST_CHECK_H

#include "trigger_record.h"

#include <QStringList>
#include <QVector>

class ManifestCheck {
public:
    static constexpr int shownDifferences = 10;

    explicit ManifestCheck(const QVector<TriggerRecord>& manifest) : m_manifest(manifest) {}

    // Each trigger of the replay, in order.
    void compare(const TriggerRecord& replayed);
    // Once the replay has ended: the manifest's triggers it never reached differ too.
    void finish();

    int manifestTriggers() const { return m_manifest.size(); }
    int differences() const { return m_differences; }
    // "trigger 3, sub/a.png: crc32 0badf00d (manifest crc32 1234abcd)", at most shownDifferences.
    const QStringList& firstDifferences() const { return m_first; }

private:
    void differ(const TriggerRecord& record, const QString& what);

    QVector<TriggerRecord> m_manifest;
    int m_compared = 0;
    int m_differences = 0;
    QStringList m_first;
};

#endif
