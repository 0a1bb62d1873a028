#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace hinagiku::platform {

// Physical memory as the kernel reports it, for the resource meter.
struct MemoryStatus {
    std::uint64_t totalBytes = 0;
    // Memory that programs can still get without swapping (page cache that
    // can be dropped counts as available).
    std::uint64_t availableBytes = 0;
    int percentFree = 0;  // availableBytes * 100 / totalBytes, rounded down, 0 to 100
};

// Reads /proc/meminfo; nothing when it cannot be read or understood.
std::optional<MemoryStatus> memoryStatus();

// The rule behind memoryStatus, on the text of /proc/meminfo: MemTotal and
// MemAvailable (kernels before 3.14 lack it: MemFree + Buffers + Cached then).
// Nothing when MemTotal is missing or zero, or no available figure is there.
std::optional<MemoryStatus> parseMemInfo(std::string_view text);

}  // namespace hinagiku::platform
