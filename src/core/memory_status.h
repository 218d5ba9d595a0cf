// The six memory figures of the "Mem" panel, taken from the operating system's
// own sources, and the panel's text lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace halvorn {

struct MemoryStatus {
    std::int64_t MemoryLoad = 0;     // used share of physical memory, percent
    std::int64_t TotalPhys = 0;      // bytes
    std::int64_t AvailPhys = 0;      // bytes
    std::int64_t TotalVirtual = 0;   // user address space of the process, bytes
    std::int64_t AvailVirtual = 0;   // the part of it not in use, bytes
    std::int64_t AvailPageFile = 0;  // free swap, bytes
};

// The figures from the texts of /proc/meminfo and /proc/self/status and the
// size of the process's user address space. Fields missing from the texts
// count as 0; the memory load is rounded to a whole percent.
MemoryStatus MemoryStatusFromTexts(std::string_view meminfo, std::string_view selfStatus,
                                   std::int64_t userAddressSpace);

// The figures of this machine and process now (all 0 where the system does
// not tell them).
MemoryStatus QueryMemoryStatus();

// A figure as the panel writes it: a blank (or a minus sign for a negative
// value), the digits, and one trailing blank. Full 64-bit values, so that
// figures of 2 GB and more show as they are.
std::string MemoryFigureText(std::int64_t value);

// The panel's six lines, top to bottom.
std::array<std::string, 6> MemoryPanelLines(const MemoryStatus& m);

}  // namespace halvorn
