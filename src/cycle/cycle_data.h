#pragma once

#include <string>
#include <vector>

namespace hinagiku::cycle {

// Where the tracker keeps what it records: the cycle file for the window and
// hinagikuctl, nothing at all for a plan.
class CycleData {
  public:
    virtual ~CycleData() = default;

    // The recorded entries as stored (any order, duplicates possible).
    virtual std::vector<std::string> loadEntries() = 0;
    // [Period] Days as stored, 5 when absent or no number.
    virtual int periodDays() = 0;
    // The date list in list order; nothing is written when it is stored so.
    virtual void writeEntries(const std::vector<std::string>& entries) = 0;
    // [Period] RAvg or LAvg.
    virtual void writeAverage(bool rField, const std::string& text) = 0;
    virtual void writePeriodDays(int days) = 0;
    // [Comment] of an entry; throws when it cannot be read.
    virtual std::string readMemo(const std::string& entry) = 0;
    virtual void writeMemo(const std::string& entry, const std::string& text) = 0;
};

// Records nothing: hinagikuctl cycle plan.
class NoCycleData final : public CycleData {
  public:
    std::vector<std::string> loadEntries() override { return {}; }
    int periodDays() override { return 5; }
    void writeEntries(const std::vector<std::string>&) override {}
    void writeAverage(bool, const std::string&) override {}
    void writePeriodDays(int) override {}
    std::string readMemo(const std::string&) override { return {}; }
    void writeMemo(const std::string&, const std::string&) override {}
};

}  // namespace hinagiku::cycle
