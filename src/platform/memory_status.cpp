#include "platform/memory_status.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace hinagiku::platform {

namespace {

// The value of one "Name:   12345 kB" line, in bytes.
std::optional<std::uint64_t> field(std::string_view text, std::string_view name) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
            line[name.size()] != ':')
            continue;
        line.remove_prefix(name.size() + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        std::uint64_t value = 0;
        const auto [rest, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (ec != std::errc() || rest == line.data())
            return std::nullopt;
        std::string_view unit(rest, static_cast<std::size_t>(line.data() + line.size() - rest));
        while (!unit.empty() && (unit.front() == ' ' || unit.front() == '\t'))
            unit.remove_prefix(1);
        while (!unit.empty() && (unit.back() == ' ' || unit.back() == '\r'))
            unit.remove_suffix(1);
        std::uint64_t scale = 1;
        if (unit == "kB")
            scale = 1024;
        else if (!unit.empty())
            return std::nullopt;
        if (value > std::numeric_limits<std::uint64_t>::max() / scale)
            return std::nullopt;
        return value * scale;
    }
    return std::nullopt;
}

}  // namespace

std::optional<MemoryStatus> parseMemInfo(std::string_view text) {
    const auto total = field(text, "MemTotal");
    if (!total || *total == 0)
        return std::nullopt;
    auto available = field(text, "MemAvailable");
    if (!available) {
        const auto free = field(text, "MemFree");
        if (!free)
            return std::nullopt;
        unsigned __int128 sum = *free;
        sum += field(text, "Buffers").value_or(0);
        sum += field(text, "Cached").value_or(0);
        available = static_cast<std::uint64_t>(std::min<unsigned __int128>(sum, *total));
    }
    MemoryStatus status;
    status.totalBytes = *total;
    status.availableBytes = std::min(*available, *total);
    // Exact whole percent, rounded down, for any size.
    status.percentFree = static_cast<int>(static_cast<unsigned __int128>(status.availableBytes) *
                                          100 / status.totalBytes);
    return status;
}

std::optional<MemoryStatus> memoryStatus() {
    std::ifstream in("/proc/meminfo");
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return parseMemInfo(text.str());
}

}  // namespace hinagiku::platform
