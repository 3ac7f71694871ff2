// How many bytes of decoded images the preload cache may hold: what the
// system can still give the process, less a reserve for the host, within the
// cap the host sets in its environment.
#ifndef PRELOAD_BUDGET_H
#define PRELOAD_BUDGET_H

#include <QtGlobal>

class CPreloadBudget {
public:
    // KXCAM_PRELOAD_MAX_MB as bytes (a whole number of MiB), or -1 when the
    // variable is unset or holds anything else.
    static qint64 capFromEnvironment();

    // `available` as availableMemory() gives it; `cap` -1 for none.
    CPreloadBudget(qint64 available, qint64 cap);

    qint64 bytes() const { return m_bytes; }
    bool fits(qint64 imageBytes) const { return imageBytes <= m_bytes - m_used; }
    void take(qint64 imageBytes) { m_used += imageBytes; }

private:
    qint64 m_bytes;
    qint64 m_used = 0;
};

#endif
