#include "platform/memory_status.h"

#include <gtest/gtest.h>

#include <string>

namespace hinagiku::platform {
namespace {

constexpr std::uint64_t kKiB = 1024;

TEST(MemoryStatus, ParsesTheKernelsFigures) {
    const std::string modern =
        "MemTotal:       16000000 kB\n"
        "MemFree:         1000000 kB\n"
        "MemAvailable:    4000000 kB\n"
        "Buffers:          200000 kB\n"
        "Cached:          2500000 kB\n"
        "SwapCached:            0 kB\n";
    const auto status = parseMemInfo(modern);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalBytes, 16000000 * kKiB);
    EXPECT_EQ(status->availableBytes, 4000000 * kKiB);
    EXPECT_EQ(status->percentFree, 25);
}

TEST(MemoryStatus, RulesForOddAndOldTexts) {
    struct Case {
        const char* text;
        std::uint64_t available;  // KiB
        int percent;
    };
    const Case cases[] = {
        // Before MemAvailable existed: free + buffers + cached.
        {"MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 150 kB\n", 300, 30},
        {"MemTotal: 1000 kB\nMemFree: 100 kB\n", 100, 10},
        // Whole percent, rounded down.
        {"MemTotal: 3 kB\nMemAvailable: 2 kB\n", 2, 66},
        // Never more available than there is.
        {"MemTotal: 1000 kB\nMemAvailable: 5000 kB\n", 1000, 100},
        {"MemTotal: 1000 kB\nMemFree: 900 kB\nCached: 900 kB\n", 1000, 100},
        // A longer name with the same beginning is another line.
        {"MemAvailableX: 999 kB\nMemTotal: 1000 kB\nMemAvailable: 0 kB\n", 0, 0},
        {"MemTotal:\t 1000 kB\nMemAvailable:\t500 kB", 500, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto status = parseMemInfo(c.text);
        ASSERT_TRUE(status);
        EXPECT_EQ(status->availableBytes, c.available * kKiB);
        EXPECT_EQ(status->percentFree, c.percent);
    }
    // Sizes far beyond today's machines still give an exact percent.
    const auto huge =
        parseMemInfo("MemTotal: 18014398509481983 kB\nMemAvailable: 9007199254740991 kB\n");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->percentFree, 49);
}

TEST(MemoryStatus, UnusableTextGivesNothing) {
    for (const char* text : {
             "",
             "MemFree: 100 kB\nMemAvailable: 100 kB\n",   // no total
             "MemTotal: 0 kB\nMemAvailable: 0 kB\n",      // zero total
             "MemTotal: 1000 kB\n",                       // nothing about free memory
             "MemTotal: lots kB\nMemAvailable: 1 kB\n",   // not a number
             "MemTotal: 1000 MB\nMemAvailable: 10 kB\n",  // unknown unit
             "MemTotal: 99999999999999999999 kB\nMemAvailable: 1 kB\n",  // overflow
         }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseMemInfo(text));
    }
}

TEST(MemoryStatus, ReadsThisMachine) {
    const auto status = memoryStatus();
    ASSERT_TRUE(status);
    EXPECT_GT(status->totalBytes, 0u);
    EXPECT_LE(status->availableBytes, status->totalBytes);
    EXPECT_GE(status->percentFree, 0);
    EXPECT_LE(status->percentFree, 100);
}

}  // namespace
}  // namespace hinagiku::platform
