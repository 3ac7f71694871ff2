// How many bytes of decoded images the preload cache may hold: what the
// system can still give the process, less a reserve for the host, within the
// cap the host sets in its environment.
#ifndef PRELOAD_BUDGET_H
#define PRELOAD_BUDGET_H

#include <QtGlobal>

class PreloadBudget {
public:
    // KXCAM_PRELOAD_MAX_MB as bytes, or -1 for no cap: when the variable is
    // unset, and, with a warning, when it holds anything but a whole number
    // of MiB that a byte count can hold (empty, not a number, negative, too large).
    static qint64 capFromEnvironment();

    // `available` as availableMemory() gives it; `cap` -1 for none.
    PreloadBudget(qint64 available, qint64 cap);

    qint64 bytes() const { return m_bytes; }
    bool fits(qint64 imageBytes) const { return imageBytes <= m_bytes - m_used; }
    void take(qint64 imageBytes) { m_used += imageBytes; }

private:
    qint64 m_bytes;
    qint64 m_used = 0;
};

#endif
