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
    store(section, key, value);
}

void MemorySettings::store(std::string_view section, std::string_view key, std::string_view value) {
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

std::vector<SettingsEntry> MemorySettings::listEntries(std::string_view section) const {
    std::vector<SettingsEntry> out;
    if (const Section* s = find(section)) {
        for (const auto& [k, v] : s->keys)
            out.push_back({k, v});
    }
    return out;
}

// Works on a copy of the sections, taken over whole when the change ends.
class MemorySettings::Edit final : public SettingsEdit {
  public:
    explicit Edit(const MemorySettings& from) { copy_.sections_ = from.sections_; }

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override {
        return copy_.readText(section, key, defaultValue);
    }
    std::vector<SettingsEntry> entries(std::string_view section) const override {
        return copy_.listEntries(section);
    }
    std::vector<std::string> sectionNames() const override {
        std::vector<std::string> names;
        for (const Section& s : copy_.sections_)
            names.push_back(s.name);
        return names;
    }
    void writeText(std::string_view section, std::string_view key,
                   std::string_view value) override {
        copy_.store(section, key, value);
    }
    void eraseKey(std::string_view section, std::string_view key) override {
        if (auto* s = const_cast<Section*>(copy_.find(section))) {
            const auto it = std::find_if(s->keys.begin(), s->keys.end(),
                                         [&](const auto& kv) { return sameName(kv.first, key); });
            if (it != s->keys.end())
                s->keys.erase(it);
        }
    }
    void eraseSection(std::string_view section) override {
        std::erase_if(copy_.sections_, [&](const Section& s) { return sameName(s.name, section); });
    }
    void replaceSection(std::string_view section,
                        const std::vector<SettingsEntry>& entries) override {
        auto* s = const_cast<Section*>(copy_.find(section));
        if (s == nullptr) {
            copy_.sections_.push_back({std::string(section), {}});
            s = &copy_.sections_.back();
        }
        s->keys.clear();
        for (const SettingsEntry& entry : entries)
            s->keys.emplace_back(entry.key, entry.value);
    }

    std::vector<Section>& sections() { return copy_.sections_; }

  private:
    MemorySettings copy_;
};

void MemorySettings::edit(const std::function<void(SettingsEdit&)>& change) {
    Edit session(*this);
    change(session);
    ++writes_;
    sections_ = std::move(session.sections());
}

}  // namespace hinagiku::platform
