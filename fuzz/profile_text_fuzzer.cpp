// Feeds arbitrary bytes to the settings-file rules as a hostile settings
// file: every key of every section is read, then a value is written, read
// back and removed again, and every other section must come through as it
// was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_text.h"

namespace {

namespace pt = hinagiku::platform::profile_text;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

// Section names as a reader might see them; names that the rules do not
// take as headers only give empty lists, which is as good a probe.
std::vector<std::string> sectionNames(std::string_view text) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos < text.size() && names.size() < 64) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        const std::size_t open = line.find('[');
        const std::size_t close = line.rfind(']');
        if (open != std::string_view::npos && close != std::string_view::npos && close > open)
            names.emplace_back(line.substr(open + 1, close - open - 1));
        pos = end + 1;
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> sections = sectionNames(text);
    for (const std::string& section : sections) {
        for (const auto& [key, value] : pt::entries(text, section)) {
            const auto read = pt::findValue(text, section, key, 1023);
            check(read.has_value(), "a listed key cannot be read");
            check(read->size() <= 1023, "a value is longer than 1023 bytes");
        }
        check(pt::keyNames(text, section, 8192).size() <= 8192 / 2, "key list past its room");
    }

    const std::string section = "Fuzz";
    const std::string key = "Key";
    const std::string value = "\x83\x65\x83\x58\x83\x67 value";  // テスト in CP932
    const std::string updated =
        pt::withValue(text, section, key, value).value_or(std::string(text));
    check(pt::findValue(updated, section, key, 1023) == value,
          "the written value does not read back");
    check(!pt::withValue(updated, section, key, value),
          "writing the same value again changed the text");
    for (const std::string& other : sections) {
        if (pt::sameName(other, section))
            continue;
        check(pt::entries(updated, other) == pt::entries(text, other),
              "writing one key changed another section");
    }

    const std::vector<std::string> lines = {"b=2", "a=1"};
    const std::string replaced = pt::withSectionKeys(updated, section, lines).value_or(updated);
    const auto entries = pt::entries(replaced, section);
    check(entries.size() == 2 && entries[0].first == "b" && entries[1].first == "a",
          "the replaced section does not hold the new keys");
    const std::string removed = pt::withoutSection(replaced, section).value_or(replaced);
    check(pt::entries(removed, section).empty(), "the erased section is still there");
    for (const std::string& other : sections) {
        if (pt::sameName(other, section))
            continue;
        check(pt::entries(removed, other) == pt::entries(text, other),
              "rewriting one section changed another");
    }
    return 0;
}
