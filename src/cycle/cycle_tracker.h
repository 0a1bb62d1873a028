#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_time.h"
#include "cycle/cycle_data.h"

namespace hinagiku::cycle {

enum class Field { Common, R, L };
enum class Forecast { Common, Alternating };

inline constexpr std::string_view kDefaultCycle = "28";
inline constexpr int kMinPeriodDays = 1;
inline constexpr int kMaxPeriodDays = 20;
// Longest memo, in CP932 bytes.
inline constexpr std::size_t kMaxMemoBytes = 1023;

enum class MemoResult { Written, NoDateSelected, Refused, NotWritten };

// Everything the tracker window shows, and its actions, without widgets:
// the window draws this state; hinagikuctl drives it the same way.
class CycleTracker {
  public:
    explicit CycleTracker(CycleData& data);

    // Showing the window: the period length, the entries (sorted as text,
    // each once), the latest date selected, the list update.
    void open();

    // "追加": false when the entry was already listed (nothing changes).
    bool add(const CivilDate& date);
    // "削除" of the selected entry (the memo stays in the file).
    bool removeSelected();
    // Choosing entry `index` of the date list (-1: none).
    void select(int index);
    // A cycle field's text changed (typed or set).
    void setField(Field field, const std::string& text);
    // The period length box changed (kept to 1..20).
    void setPeriodDays(int days);
    // Choosing forecast entry `index` of a list.
    void chooseForecast(Forecast list, int index);
    // The memo field changed; the text is made one line. Refused when it
    // holds characters CP932 lacks or is longer than kMaxMemoBytes.
    MemoResult setMemo(const std::string& text);

    const std::vector<std::string>& entries() const { return entries_; }
    int selected() const { return selected_; }
    const std::string& field(Field field) const;
    int periodDays() const { return periodDays_; }
    const std::vector<std::string>& forecasts(Forecast list) const;
    int chosen(Forecast list) const;
    const std::vector<std::string>& details(Forecast list) const;
    const std::string& detailCaption(Forecast list) const;
    const std::string& status() const { return status_; }
    const std::string& memoLabel() const { return memoLabel_; }
    const std::string& memo() const { return memo_; }
    // The date the date boxes move to after a selection: set when the
    // selected date has a predecessor in the list.
    const std::optional<CivilDate>& dateBoxTarget() const { return dateBoxTarget_; }
    // Messages of writes the system refused since the last call (they name
    // the file, never a date or memo); the state shown is complete anyway.
    std::vector<std::string> takeWriteErrors();
    // Counts for tests and benchmarks.
    int forecastRebuilds() const { return forecastRebuilds_; }

    // The memo made one line (breaks become blanks).
    static std::string oneLine(std::string_view text);

  private:
    struct List {
        std::vector<int> days;
        std::vector<std::string> texts;
        int chosen = -1;
        std::vector<std::string> details;
        std::string caption;
    };

    template <typename Write>
    void store(Write&& write);
    void listUpdate();
    void rebuildForecasts();
    void buildDetails(List& list);
    void selectLatest();
    std::vector<int> validDays() const;
    List& list(Forecast which) { return which == Forecast::Common ? common_ : alternating_; }
    const List& list(Forecast which) const {
        return which == Forecast::Common ? common_ : alternating_;
    }

    CycleData& data_;
    std::vector<std::string> entries_;
    int selected_ = -1;
    std::string fields_[3] = {"28", "28", "28"};
    int periodDays_ = 5;
    int latest_ = 0;
    List common_;
    List alternating_;
    std::string status_;
    std::string memoLabel_ = "2000/01/01のメモ：";
    std::string memo_;
    int forecastRebuilds_ = 0;
    std::vector<std::string> writeErrors_;
    std::optional<CivilDate> dateBoxTarget_;
};

}  // namespace hinagiku::cycle
