// What the benchmarks need from the process's memory: its resident size and a
// way to make every large allocation take fresh pages from the system.
#ifndef HOST_MEMORY_H
#define HOST_MEMORY_H

#include <cstddef>

// Resident bytes of this process; 0 where the platform does not say.
std::size_t residentBytes();

// The most resident bytes this process has had since it started or since
// resetPeakResident(); 0 where the platform does not say.
std::size_t peakResidentBytes();
// Starts the peak over from the present resident size; false where the platform cannot.
bool resetPeakResident();

// Hands the heap's free pages back to the system, so that memory allocated
// next shows in the resident size instead of reusing pages already counted.
void releaseFreeHeap();

// From now on every allocation of 128 KiB or more is fresh memory from the
// system, as in a host whose heap never has a large free block. False where
// the allocator offers no such switch.
bool forceFreshPagesForLargeAllocations();

#endif
