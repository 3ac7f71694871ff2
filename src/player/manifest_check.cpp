#include "manifest_check.h"

void ManifestCheck::compare(const TriggerRecord& replayed)
{
    const int index = m_compared++;
    if (index >= m_manifest.size()) {
        differ(replayed, QStringLiteral("not in the manifest, which ends at trigger %1").arg(m_manifest.size()));
        return;
    }
    const QStringList differences = replayed.differencesFrom(m_manifest.at(index));
    if (!differences.isEmpty())
        differ(replayed.file.isEmpty() ? m_manifest.at(index) : replayed, differences.join(QStringLiteral(", ")));
}

void ManifestCheck::finish()
{
    const int replayed = m_compared;
    for (; m_compared < m_manifest.size(); ++m_compared)
        differ(m_manifest.at(m_compared), QStringLiteral("not replayed, the replay ended at trigger %1").arg(replayed));
}

void ManifestCheck::differ(const TriggerRecord& record, const QString& what)
{
    if (m_differences++ < shownDifferences)
        m_first.append(QStringLiteral("trigger %1, %2: %3")
                           .arg(record.number)
                           .arg(record.fileName(), what));
}
