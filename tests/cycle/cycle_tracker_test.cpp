#include "cycle/cycle_tracker.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "cycle/cycle_math.h"

namespace hinagiku::cycle {
namespace {

int day(int y, int m, int d) {
    return *encodeDate(y, m, d);
}

// Records what the tracker writes.
class RecordingData final : public CycleData {
  public:
    std::vector<std::string> stored;
    int days = 5;
    std::map<std::string, std::string> memos;
    std::vector<std::string> averageWrites;
    int entryWrites = 0;
    bool memoFails = false;

    std::vector<std::string> loadEntries() override { return stored; }
    int periodDays() override { return days; }
    void writeEntries(const std::vector<std::string>& entries) override {
        ++entryWrites;
        stored = entries;
    }
    void writeAverage(bool r, const std::string& text) override {
        averageWrites.push_back((r ? "R=" : "L=") + text);
    }
    void writePeriodDays(int d) override { days = d; }
    std::string readMemo(const std::string& entry) override {
        if (memoFails)
            throw std::runtime_error("unreadable");
        auto it = memos.find(entry);
        return it == memos.end() ? std::string() : it->second;
    }
    void writeMemo(const std::string& entry, const std::string& text) override {
        memos[entry] = text;
    }
};

std::string text(int d) {
    return forecastText(d);
}

TEST(CycleMath, WholeNumbers) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"28", 28},
        {"-5", -5},
        {"0", 0},
        {"007", 7},
        {"", {}},
        {"-", {}},
        {"+5", {}},
        {" 5", {}},
        {"5 ", {}},
        {"abc", {}},
        {"1826", 1826},
        {"2147483647", 2147483647},
        {"2147483648", {}},
        {"-2147483648", -2147483648LL},
        {"99999999999999999999", {}},
        {"２８", {}},
    };
    for (const auto& [t, want] : cases)
        EXPECT_EQ(wholeNumber(t), want) << t;
}

TEST(CycleMath, DateBoxes) {
    const std::tuple<long long, long long, long long, CivilDate> cases[] = {
        {2001, 2, 31, {2001, 2, 28}}, {2000, 2, 30, {2000, 2, 29}},   {2001, 4, 31, {2001, 4, 30}},
        {1800, 0, 0, {1900, 1, 1}},   {3000, 13, 99, {2500, 12, 31}},
    };
    for (const auto& [y, m, d, want] : cases)
        EXPECT_EQ(dateBoxes(y, m, d), want) << y << "-" << m << "-" << d;
}

TEST(CycleMath, EntriesThatAreNoDates) {
    EXPECT_EQ(entryDay("2001/01/31"), day(2001, 1, 31));
    for (const char* bad : {"-end-", "2001/13/45", "2001/02/29", "2001-01-31", "01/01/2001", "",
                            "0000/01/01", "2001/1/31 "}) {
        EXPECT_FALSE(entryDay(bad)) << bad;
    }
}

TEST(CycleTracker, NoDate) {
    RecordingData data;
    CycleTracker t(data);
    t.open();
    EXPECT_EQ(t.field(Field::Common), "28");
    EXPECT_EQ(t.field(Field::R), "28");
    EXPECT_EQ(t.field(Field::L), "28");
    EXPECT_TRUE(t.forecasts(Forecast::Common).empty());
    EXPECT_TRUE(t.forecasts(Forecast::Alternating).empty());
    EXPECT_EQ(t.status(), "良い子が授かりますように..");
    EXPECT_EQ(t.selected(), -1);
    EXPECT_EQ(t.memoLabel(), "2000/01/01のメモ：");
}

TEST(CycleTracker, OneDateDetails) {
    RecordingData data;
    data.stored = {"2001/01/03"};
    CycleTracker t(data);
    t.open();
    const int T = day(2001, 1, 3);
    ASSERT_EQ(t.forecasts(Forecast::Common).size(), 100u);
    EXPECT_EQ(t.forecasts(Forecast::Common)[0], text(T + 28));
    EXPECT_EQ(t.forecasts(Forecast::Common)[1], text(T + 56));
    EXPECT_EQ(t.forecasts(Forecast::Alternating)[1], text(T + 56));
    EXPECT_EQ(t.detailCaption(Forecast::Common), text(T) + "～" + text(T + 28));
    const auto& lines = t.details(Forecast::Common);
    ASSERT_EQ(lines.size(), 29u);
    auto label = [&](int offset) { return lines[offset].substr(text(T + offset).size() + 1); };
    const std::pair<std::pair<int, int>, const char*> rows[] = {
        {{0, 4}, "×　生理中"},     {{5, 8}, "？　　　安全日"}, {{9, 11}, "？　　危険日"},
        {{12, 16}, "×【危険日】"}, {{17, 17}, "？　　危険日"}, {{18, 27}, "△　　　　安全日"},
        {{28, 28}, "×　生理中"},
    };
    for (const auto& [range, want] : rows) {
        for (int i = range.first; i <= range.second; ++i) {
            EXPECT_EQ(lines[i].substr(0, text(T + i).size()), text(T + i));
            EXPECT_EQ(label(i), want) << "day " << i;
        }
    }
}

struct AverageCase {
    std::vector<std::string> dates;
    std::string common, r, l;
    std::vector<int> alternatingOffsets;  // from the latest date
};

TEST(CycleTracker, AveragesAndAlternatingForecasts) {
    const AverageCase cases[] = {
        {{"2001/01/01", "2001/01/31"}, "30", "28", "30", {28, 58, 86, 116}},
        {{"2001/01/01", "2001/01/28", "2001/02/28"}, "29", "27", "31", {27, 58, 85}},
        {{"2001/01/01"}, "28", "28", "28", {28, 56}},
        // Entries that are no dates stay out of the computations.
        {{"-end-", "2001/01/01", "2001/01/31", "2001/13/45"}, "30", "28", "30", {28, 58}},
    };
    for (const auto& c : cases) {
        RecordingData data;
        data.stored = c.dates;
        CycleTracker t(data);
        t.open();
        EXPECT_EQ(t.field(Field::Common), c.common);
        EXPECT_EQ(t.field(Field::R), c.r);
        EXPECT_EQ(t.field(Field::L), c.l);
        int latest = 0;
        for (const auto& d : c.dates) {
            if (auto v = entryDay(d))
                latest = *v;
        }
        for (std::size_t i = 0; i < c.alternatingOffsets.size(); ++i)
            EXPECT_EQ(t.forecasts(Forecast::Alternating)[i],
                      text(latest + c.alternatingOffsets[i]));
    }
}

TEST(CycleTracker, NonDateEntriesAreListedWrittenBackAndDeletable) {
    RecordingData data;
    data.stored = {"2001/13/45", "2001/01/31", "-end-", "2001/01/03", "2001/01/31"};
    CycleTracker t(data);
    t.open();
    EXPECT_EQ(t.entries(),
              (std::vector<std::string>{"-end-", "2001/01/03", "2001/01/31", "2001/13/45"}));
    EXPECT_EQ(data.stored, t.entries());
    // The latest date is selected, not the last entry.
    EXPECT_EQ(t.selected(), 2);
    EXPECT_EQ(t.status(), "28日周期 (2001/01/03～2001/01/31)");
    ASSERT_TRUE(t.dateBoxTarget());
    EXPECT_EQ(*t.dateBoxTarget(), (CivilDate{2001, 1, 31}));
    t.select(3);
    EXPECT_EQ(t.memoLabel(), "2001/13/45のメモ：");
    EXPECT_EQ(t.status(), "良い子が授かりますように..");
    EXPECT_TRUE(t.removeSelected());
    t.select(0);
    EXPECT_TRUE(t.removeSelected());
    EXPECT_EQ(data.stored, (std::vector<std::string>{"2001/01/03", "2001/01/31"}));
}

TEST(CycleTracker, AddDeleteAndMemos) {
    RecordingData data;
    CycleTracker t(data);
    t.open();
    EXPECT_TRUE(t.add({2001, 1, 3}));
    EXPECT_FALSE(t.add({2001, 1, 3}));
    EXPECT_EQ(t.entries().size(), 1u);
    EXPECT_EQ(t.setMemo("first\r\nline"), MemoResult::Written);
    EXPECT_EQ(data.memos["2001/01/03"], "first line");
    EXPECT_EQ(t.setMemo("Ω☃"), MemoResult::Refused);  // a snowman has no CP932 code
    EXPECT_EQ(t.setMemo(std::string(1023, 'a')), MemoResult::Written);
    EXPECT_EQ(
        t.setMemo(std::string(512, 'a') + std::string(256, 'x') + "あ" + std::string(254, 'b')),
        MemoResult::Refused);  // 1024 bytes in CP932
    EXPECT_EQ(data.memos["2001/01/03"], std::string(1023, 'a'));
    EXPECT_TRUE(t.add({2001, 1, 31}));
    EXPECT_EQ(t.status(), "28日周期 (2001/01/03～2001/01/31)");
    // The earliest date: its memo, and no interval.
    t.select(0);
    EXPECT_EQ(t.memo(), std::string(1023, 'a'));
    EXPECT_EQ(t.status(), "良い子が授かりますように..");
    EXPECT_FALSE(t.dateBoxTarget());
    // Deleting every date empties the forecasts; the memo stays and shows again.
    EXPECT_TRUE(t.removeSelected());
    EXPECT_TRUE(t.removeSelected());
    EXPECT_TRUE(t.entries().empty());
    EXPECT_TRUE(t.forecasts(Forecast::Common).empty());
    EXPECT_TRUE(t.details(Forecast::Alternating).empty());
    EXPECT_EQ(t.setMemo("x"), MemoResult::NoDateSelected);
    t.add({2001, 1, 3});
    EXPECT_EQ(t.memo(), std::string(1023, 'a'));
    data.memoFails = true;
    t.select(0);
    EXPECT_EQ(t.memoLabel(), "一行メモ：");
    EXPECT_TRUE(t.memo().empty());
}

TEST(CycleTracker, FieldEdges) {
    RecordingData data;
    data.stored = {"2001/01/03"};
    CycleTracker t(data);
    t.open();
    const int T = day(2001, 1, 3);
    const int before = t.forecastRebuilds();
    t.setField(Field::Common, "0");
    EXPECT_EQ(t.forecastRebuilds(), before + 1);
    ASSERT_EQ(t.forecasts(Forecast::Common).size(), 100u);
    EXPECT_EQ(t.forecasts(Forecast::Common)[99], text(T));
    EXPECT_EQ(t.details(Forecast::Common), (std::vector<std::string>{text(T) + " ×　生理中"}));
    t.setField(Field::Common, "-3");
    EXPECT_EQ(t.forecasts(Forecast::Common)[0], text(T - 3));
    EXPECT_TRUE(t.details(Forecast::Common).empty());
    // Emptying a field puts 28 back at once, with one rebuild.
    t.setField(Field::R, "");
    EXPECT_EQ(t.forecastRebuilds(), before + 3);
    EXPECT_EQ(t.field(Field::R), "28");
    EXPECT_EQ(data.averageWrites.back(), "R=28");
    t.setField(Field::L, "1826");
    EXPECT_EQ(t.field(Field::L), "1826");
    EXPECT_EQ(t.forecasts(Forecast::Alternating)[1], text(T + 28 + 1826));
    // A period length of 20 with a 28-day cycle.
    t.setField(Field::Common, "28");
    t.setPeriodDays(20);
    EXPECT_EQ(data.days, 20);
    const auto& lines = t.details(Forecast::Common);
    for (int i = 0; i < 20; ++i)
        EXPECT_NE(lines[i].find("×　生理中"), std::string::npos) << i;
    // The danger windows (days 5-17) lie inside the period: day 20 is safe.
    EXPECT_NE(lines[20].find("△　　　　安全日"), std::string::npos);
    EXPECT_NE(lines[28].find("×　生理中"), std::string::npos);
    t.setPeriodDays(99);
    EXPECT_EQ(t.periodDays(), 20);
    // Choosing a later entry: the cycle runs from the entry before it.
    t.chooseForecast(Forecast::Common, 2);
    EXPECT_EQ(t.detailCaption(Forecast::Common), text(T + 56) + "～" + text(T + 84));
}

TEST(CycleTracker, ForecastsStopAtTheCalendarsEdge) {
    RecordingData data;
    data.stored = {"0001/01/05"};
    CycleTracker t(data);
    t.open();
    t.setField(Field::Common, "-999");
    EXPECT_TRUE(t.forecasts(Forecast::Common).empty());
    EXPECT_TRUE(t.details(Forecast::Common).empty());
    data.stored = {"9999/12/01"};
    CycleTracker late(data);
    late.open();
    EXPECT_EQ(late.forecasts(Forecast::Common).size(), 1u);
}

TEST(CycleTracker, PeriodDaysFromTheFileAreKeptInRange) {
    for (const auto& [stored, want] : {std::pair{99, 20}, {0, 1}, {-5, 1}, {7, 7}}) {
        RecordingData data;
        data.days = stored;
        CycleTracker t(data);
        t.open();
        EXPECT_EQ(t.periodDays(), want);
    }
}

}  // namespace
}  // namespace hinagiku::cycle
