#include "core/memory_status.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace halvorn {

namespace {

// The number after "name:" on its line of a /proc text, times the unit's
// bytes ("kB" lines count kibibytes); 0 when the line is missing.
std::int64_t ProcField(std::string_view text, std::string_view name) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
            line[name.size()] != ':') {
            continue;
        }
        std::size_t k = name.size() + 1;
        while (k < line.size() && (line[k] == ' ' || line[k] == '\t')) {
            ++k;
        }
        std::int64_t value = 0;
        while (k < line.size() && line[k] >= '0' && line[k] <= '9') {
            value = value * 10 + (line[k] - '0');
            ++k;
        }
        const bool kibibytes = line.find("kB", k) != std::string_view::npos;
        return kibibytes ? value * 1024 : value;
    }
    return 0;
}

std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The size of a process's user address space on this architecture.
std::int64_t UserAddressSpace() {
#if defined(__x86_64__) || defined(_M_X64)
    return (std::int64_t{1} << 47) - 4096;  // 128 TiB less the guard page
#elif defined(__aarch64__)
    return std::int64_t{1} << 48;
#else
    return sizeof(void*) >= 8 ? (std::int64_t{1} << 47) : (std::int64_t{3} << 30);
#endif
}

}  // namespace

MemoryStatus MemoryStatusFromTexts(std::string_view meminfo, std::string_view selfStatus,
                                   std::int64_t userAddressSpace) {
    MemoryStatus m;
    m.TotalPhys = ProcField(meminfo, "MemTotal");
    m.AvailPhys = ProcField(meminfo, "MemAvailable");
    if (m.TotalPhys > 0) {
        const std::int64_t used = m.TotalPhys - m.AvailPhys;
        m.MemoryLoad = (used * 200 + m.TotalPhys) / (m.TotalPhys * 2);
    }
    m.TotalVirtual = userAddressSpace;
    m.AvailVirtual = userAddressSpace - ProcField(selfStatus, "VmSize");
    m.AvailPageFile = ProcField(meminfo, "SwapFree");
    return m;
}

MemoryStatus QueryMemoryStatus() {
    return MemoryStatusFromTexts(FileText("/proc/meminfo"), FileText("/proc/self/status"),
                                 UserAddressSpace());
}

std::string MemoryFigureText(std::int64_t value) {
    // Built from the magnitude's digits so that the most negative value fits.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return (value < 0 ? "-" : " ") + std::to_string(magnitude) + " ";
}

std::array<std::string, 6> MemoryPanelLines(const MemoryStatus& m) {
    return {
        "dwMemoryLoad=" + MemoryFigureText(m.MemoryLoad) + " %",
        "dwTotalPhys=" + MemoryFigureText(m.TotalPhys) + " bytes of physical memory",
        "dwAvailPhys=" + MemoryFigureText(m.AvailPhys) + " bytes of free physical memory",
        "dwTotalVirtual=" + MemoryFigureText(m.TotalVirtual) + " user bytes of address space",
        "dwAvailVirtual=" + MemoryFigureText(m.AvailVirtual),
        "dwAvailPageFile=" + MemoryFigureText(m.AvailPageFile),
    };
}

}  // namespace halvorn
