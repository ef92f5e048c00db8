#pragma once

#include <unistd.h>

// Physical memory of this machine in bytes; 4 GiB when the system cannot
// tell. Header-only, so that the streamlines, which take their default
// memory budget from it, need no settings library.
inline long long physicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 4LL << 30;
    return static_cast<long long>(pages) * pageSize;
}

// The start value of the memory budget: a quarter of physical memory, in MiB.
inline int defaultMemoryBudgetMegabytes() { return static_cast<int>(physicalMemoryBytes() / 4 / (1LL << 20)); }
