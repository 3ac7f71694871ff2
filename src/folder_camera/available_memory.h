// The module's second platform seam: how much memory the system can still
// give this process.
#ifndef AVAILABLE_MEMORY_H
#define AVAILABLE_MEMORY_H

#include <QtGlobal>

#include <limits>

// What availableMemory() answers when the system tells of no limit.
constexpr qint64 noMemoryLimit = std::numeric_limits<qint64>::max();

// Bytes this process can still take before the system refuses them or ends
// the process, by the system's own figures at the moment of the call; the
// least of every limit it tells of.
qint64 availableMemory();

#endif
