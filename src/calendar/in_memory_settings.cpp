#include "calendar/in_memory_settings.h"

#include <algorithm>

namespace hinagiku {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace

InMemorySettings::Section* InMemorySettings::find(std::string_view section) {
    for (auto& s : sections_) {
        if (sameName(s.name, section))
            return &s;
    }
    return nullptr;
}

const InMemorySettings::Section* InMemorySettings::find(std::string_view section) const {
    for (const auto& s : sections_) {
        if (sameName(s.name, section))
            return &s;
    }
    return nullptr;
}

std::string InMemorySettings::readText(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    if (const Section* s = find(section)) {
        for (const auto& [k, v] : s->keys) {
            if (sameName(k, key))
                return v;
        }
    }
    return std::string(defaultValue);
}

void InMemorySettings::writeText(std::string_view section, std::string_view key,
                                 std::string_view value) {
    Section* s = find(section);
    if (s == nullptr) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    for (auto& [k, v] : s->keys) {
        if (sameName(k, key)) {
            v = value;
            return;
        }
    }
    s->keys.emplace_back(std::string(key), std::string(value));
}

std::vector<std::string> InMemorySettings::listKeys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = find(section)) {
        for (const auto& entry : s->keys)
            keys.push_back(entry.first);
    }
    return keys;
}

void InMemorySettings::eraseSection(std::string_view section) {
    std::erase_if(sections_, [&](const Section& s) { return sameName(s.name, section); });
}

}  // namespace hinagiku
