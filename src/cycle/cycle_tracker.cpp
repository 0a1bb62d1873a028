#include "cycle/cycle_tracker.h"

#include <algorithm>
#include <utility>

#include "cycle/cycle_math.h"
#include "platform/cp932.h"

namespace hinagiku::cycle {

CycleTracker::CycleTracker(CycleData& data) : data_(data) {}

const std::string& CycleTracker::field(Field field) const {
    return fields_[static_cast<int>(field)];
}

const std::vector<std::string>& CycleTracker::forecasts(Forecast which) const {
    return list(which).texts;
}

int CycleTracker::chosen(Forecast which) const {
    return list(which).chosen;
}

const std::vector<std::string>& CycleTracker::details(Forecast which) const {
    return list(which).details;
}

const std::string& CycleTracker::detailCaption(Forecast which) const {
    return list(which).caption;
}

std::string CycleTracker::oneLine(std::string_view text) {
    std::string line(text);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n')
            line.erase(i + 1, 1);
        if (line[i] == '\r' || line[i] == '\n')
            line[i] = ' ';
    }
    return line;
}

std::vector<std::string> CycleTracker::takeWriteErrors() {
    return std::exchange(writeErrors_, {});
}

// A refused write leaves the file as it was; the tracker goes on so that the
// data can still be seen (a write-locked card, a read-only file).
template <typename Write>
void CycleTracker::store(Write&& write) {
    try {
        write();
    } catch (const std::exception& e) {
        writeErrors_.emplace_back(e.what());
    }
}

void CycleTracker::open() {
    periodDays_ = std::clamp(data_.periodDays(), kMinPeriodDays, kMaxPeriodDays);
    store([&] { entries_ = data_.loadEntries(); });
    std::sort(entries_.begin(), entries_.end());
    entries_.erase(std::unique(entries_.begin(), entries_.end()), entries_.end());
    listUpdate();
}

std::vector<int> CycleTracker::validDays() const {
    std::vector<int> days;
    for (const auto& entry : entries_) {
        if (const auto day = entryDay(entry))
            days.push_back(*day);
    }
    return days;
}

bool CycleTracker::add(const CivilDate& date) {
    const std::string text = entryText(dayNumberOf(date));
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), text);
    const bool added = at == entries_.end() || *at != text;
    if (added)
        entries_.insert(at, text);
    listUpdate();
    return added;
}

bool CycleTracker::removeSelected() {
    if (selected_ < 0 || selected_ >= static_cast<int>(entries_.size()))
        return false;
    entries_.erase(entries_.begin() + selected_);
    selected_ = -1;
    listUpdate();
    return true;
}

void CycleTracker::listUpdate() {
    store([&] { data_.writeEntries(entries_); });
    const Averages averages = averagesOf(validDays());
    const std::string texts[3] = {std::to_string(averages.common), std::to_string(averages.r),
                                  std::to_string(averages.l)};
    for (int f = 0; f < 3; ++f) {
        if (fields_[f] == texts[f])
            continue;
        fields_[f] = texts[f];
        if (f != 0)
            store([&] { data_.writeAverage(f == 1, fields_[f]); });
    }
    selectLatest();
    if (entries_.empty()) {
        common_ = {};
        alternating_ = {};
    } else {
        rebuildForecasts();
    }
}

void CycleTracker::rebuildForecasts() {
    ++forecastRebuilds_;
    for (int f = 0; f < 3; ++f) {
        if (wholeNumber(fields_[f]))
            continue;
        fields_[f] = std::string(kDefaultCycle);
        if (f != 0)
            store([&] { data_.writeAverage(f == 1, fields_[f]); });
    }
    const std::vector<int> days = validDays();
    common_ = {};
    alternating_ = {};
    if (days.empty())
        return;
    latest_ = days.back();
    common_.days = commonForecasts(latest_, *wholeNumber(fields_[0]));
    alternating_.days =
        alternatingForecasts(latest_, *wholeNumber(fields_[1]), *wholeNumber(fields_[2]));
    for (List* l : {&common_, &alternating_}) {
        for (int day : l->days)
            l->texts.push_back(forecastText(day));
        l->chosen = l->days.empty() ? -1 : 0;
        buildDetails(*l);
    }
}

void CycleTracker::buildDetails(List& l) {
    l.details.clear();
    l.caption.clear();
    if (l.chosen < 0 || l.chosen >= static_cast<int>(l.days.size()))
        return;
    const auto index = static_cast<std::size_t>(l.chosen);
    const int g = l.days[index];
    const int f = index == 0 ? latest_ : l.days[index - 1];
    l.caption = (index == 0 ? forecastText(latest_) : l.texts[index - 1]) + "～" + l.texts[index];
    l.details = detailLines(f, g, periodDays_);
}

void CycleTracker::selectLatest() {
    int index = -1;
    for (int i = static_cast<int>(entries_.size()) - 1; i >= 0; --i) {
        if (entryDay(entries_[static_cast<std::size_t>(i)])) {
            index = i;
            break;
        }
    }
    if (index < 0 && !entries_.empty())
        index = static_cast<int>(entries_.size()) - 1;
    select(index);
}

void CycleTracker::select(int index) {
    dateBoxTarget_.reset();
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        selected_ = -1;
        memo_.clear();
        status_ = std::string(kNoIntervalStatus);
        return;
    }
    selected_ = index;
    const std::string& entry = entries_[static_cast<std::size_t>(index)];
    memoLabel_ = entry + "のメモ：";
    try {
        memo_ = data_.readMemo(entry);
    } catch (const std::exception&) {
        memoLabel_ = "一行メモ：";
        memo_.clear();
    }
    const auto day = entryDay(entry);
    std::optional<int> previous;
    if (day) {
        for (int i = index - 1; i >= 0 && !previous; --i)
            previous = entryDay(entries_[static_cast<std::size_t>(i)]);
    }
    if (previous) {
        dateBoxTarget_ = decodeDate(*day);
        status_ = intervalStatus(*previous, *day);
    } else {
        status_ = std::string(kNoIntervalStatus);
    }
}

void CycleTracker::setField(Field which, const std::string& text) {
    const int f = static_cast<int>(which);
    fields_[f] = text;
    if (which != Field::Common)
        store([&] { data_.writeAverage(which == Field::R, text); });
    if (!entries_.empty())
        rebuildForecasts();
}

void CycleTracker::setPeriodDays(int days) {
    periodDays_ = std::clamp(days, kMinPeriodDays, kMaxPeriodDays);
    buildDetails(common_);
    buildDetails(alternating_);
    store([&] { data_.writePeriodDays(periodDays_); });
}

void CycleTracker::chooseForecast(Forecast which, int index) {
    List& l = list(which);
    if (index < 0 || index >= static_cast<int>(l.days.size()))
        return;
    l.chosen = index;
    buildDetails(l);
}

MemoResult CycleTracker::setMemo(const std::string& text) {
    const std::string line = oneLine(text);
    if (selected_ < 0)
        return MemoResult::NoDateSelected;
    if (!platform::fitsCp932(line) || platform::toCp932(line).size() > kMaxMemoBytes)
        return MemoResult::Refused;
    memo_ = line;
    const std::size_t errors = writeErrors_.size();
    store([&] { data_.writeMemo(entries_[static_cast<std::size_t>(selected_)], line); });
    return writeErrors_.size() == errors ? MemoResult::Written : MemoResult::NotWritten;
}

}  // namespace hinagiku::cycle
