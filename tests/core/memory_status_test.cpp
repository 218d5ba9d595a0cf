#include "core/memory_status.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace halvorn {
namespace {

const char* const kMeminfo =
    "MemTotal:       16315412 kB\n"
    "MemFree:         1202440 kB\n"
    "MemAvailable:    4078853 kB\n"
    "Buffers:          412388 kB\n"
    "SwapTotal:       2097148 kB\n"
    "SwapFree:        2097148 kB\n";

const char* const kSelfStatus =
    "Name:\thalvorn\n"
    "VmPeak:\t  812340 kB\n"
    "VmSize:\t  800000 kB\n"
    "VmRSS:\t   90000 kB\n";

TEST(MemoryStatus, FiguresComeFromTheSystemTexts) {
    const std::int64_t space = (std::int64_t{1} << 47) - 4096;
    const MemoryStatus m = MemoryStatusFromTexts(kMeminfo, kSelfStatus, space);
    EXPECT_EQ(m.TotalPhys, std::int64_t{16315412} * 1024);
    EXPECT_EQ(m.AvailPhys, std::int64_t{4078853} * 1024);
    // 75.0000...% used: a whole percent, rounded.
    EXPECT_EQ(m.MemoryLoad, 75);
    EXPECT_EQ(m.TotalVirtual, space);
    EXPECT_EQ(m.AvailVirtual, space - std::int64_t{800000} * 1024);
    EXPECT_EQ(m.AvailPageFile, std::int64_t{2097148} * 1024);

    // "MemTotalX" or "VmSizeFoo" lines are other fields; missing ones count 0.
    const MemoryStatus other =
        MemoryStatusFromTexts("MemTotalX: 5 kB\nSwapFree: 3 kB\n", "VmSizeFoo: 7 kB\n", 100);
    EXPECT_EQ(other.TotalPhys, 0);
    EXPECT_EQ(other.MemoryLoad, 0);
    EXPECT_EQ(other.AvailVirtual, 100);
    EXPECT_EQ(other.AvailPageFile, 3072);
}

TEST(MemoryStatus, FiguresKeepTheirFullSize) {
    // 2^31 and 2^32 bytes and more show as they are, never negative or wrapped.
    EXPECT_EQ(MemoryFigureText(0), " 0 ");
    EXPECT_EQ(MemoryFigureText(37), " 37 ");
    EXPECT_EQ(MemoryFigureText(-5), "-5 ");
    EXPECT_EQ(MemoryFigureText(std::int64_t{1} << 31), " 2147483648 ");
    EXPECT_EQ(MemoryFigureText(std::int64_t{1} << 32), " 4294967296 ");
    EXPECT_EQ(MemoryFigureText((std::int64_t{1} << 47) - 4096), " 140737488351232 ");
    EXPECT_EQ(MemoryFigureText(INT64_MIN), "-9223372036854775808 ");
}

TEST(MemoryStatus, PanelLines) {
    MemoryStatus m;
    m.MemoryLoad = 42;
    m.TotalPhys = std::int64_t{8} << 30;
    m.AvailPhys = std::int64_t{3} << 30;
    m.TotalVirtual = 140737488351232;
    m.AvailVirtual = 140737000000000;
    m.AvailPageFile = 0;
    const auto lines = MemoryPanelLines(m);
    EXPECT_EQ(lines[0], "dwMemoryLoad= 42  %");
    EXPECT_EQ(lines[1], "dwTotalPhys= 8589934592  bytes of physical memory");
    EXPECT_EQ(lines[2], "dwAvailPhys= 3221225472  bytes of free physical memory");
    EXPECT_EQ(lines[3], "dwTotalVirtual= 140737488351232  user bytes of address space");
    EXPECT_EQ(lines[4], "dwAvailVirtual= 140737000000000 ");
    EXPECT_EQ(lines[5], "dwAvailPageFile= 0 ");
}

TEST(MemoryStatus, ThisMachineHasMemory) {
    const MemoryStatus m = QueryMemoryStatus();
    EXPECT_GT(m.TotalPhys, 0);
    EXPECT_GE(m.AvailPhys, 0);
    EXPECT_LE(m.AvailPhys, m.TotalPhys);
    EXPECT_GE(m.MemoryLoad, 0);
    EXPECT_LE(m.MemoryLoad, 100);
    EXPECT_GT(m.AvailVirtual, 0);
    EXPECT_LT(m.AvailVirtual, m.TotalVirtual);
}

}  // namespace
}  // namespace halvorn
