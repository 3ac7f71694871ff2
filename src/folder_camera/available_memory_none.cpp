#include "available_memory.h"

// Systems without a figure for it leave the preload cache to the host's own cap.
qint64 availableMemory()
{
    return noMemoryLimit;
}
