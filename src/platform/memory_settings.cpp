#include "platform/memory_settings.h"

#include <algorithm>

namespace hinagiku::platform {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

const MemorySettings::Section* MemorySettings::find(std::string_view section) const {
    for (const auto& s : sections_) {
        if (sameName(s.name, section))
            return &s;
    }
    return nullptr;
}

std::string MemorySettings::readText(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    if (const Section* s = find(section)) {
        for (const auto& [k, v] : s->keys) {
            if (sameName(k, key))
                return v;
        }
    }
    return std::string(defaultValue);
}

void MemorySettings::writeText(std::string_view section, std::string_view key,
                               std::string_view value) {
    ++writes_;
    auto* s = const_cast<Section*>(find(section));
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

std::vector<std::string> MemorySettings::listKeys(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = find(section)) {
        for (const auto& [k, v] : s->keys)
            names.push_back(k);
    }
    return names;
}

void MemorySettings::eraseSection(std::string_view section) {
    ++writes_;
    std::erase_if(sections_, [&](const Section& s) { return sameName(s.name, section); });
}

}  // namespace hinagiku::platform
