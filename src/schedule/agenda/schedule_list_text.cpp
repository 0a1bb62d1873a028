#include "schedule/agenda/schedule_list_text.h"

#include <algorithm>
#include <exception>

#include "calendar/format_date.h"
#include "calendar/holidays.h"
#include "calendar/lunisolar.h"
#include "mainwindow/day_view.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "schedule/day_facts.h"
#include "schedule/day_matching.h"
#include "schedule/entry_files.h"
#include "schedule/snapshot_store.h"

namespace hinagiku::schedule {
namespace {

constexpr int kHeaderWidth = 32;

int firstDayNumber() {
    return dayNumberOf({1, 1, 1});
}
int lastDayNumber() {
    return dayNumberOf({9999, 12, 31});
}

int clampSpan(int value) {
    return std::clamp(value, 0, kMaxListDays);
}

}  // namespace

ListSpan readListSpan(const platform::Settings& settings) {
    ListSpan span;
    span.before = clampSpan(settings.readInt("Sch_List", "mae", span.before));
    span.after = clampSpan(settings.readInt("Sch_List", "ato", span.after));
    return span;
}

void writeListSettings(platform::Settings& settings, DateTime base, DateTime today,
                       const ListSpan& span) {
    CivilDate stored{0, 0, 0};
    if (dayNumber(base) != dayNumber(today))
        stored = decodeDate(base);
    settings.writeInt("Sch_List", "year", stored.year);
    settings.writeInt("Sch_List", "month", stored.month);
    settings.writeInt("Sch_List", "day", stored.day);
    settings.writeInt("Sch_List", "mae", span.before);
    settings.writeInt("Sch_List", "ato", span.after);
}

DateTime listFirstDay(DateTime base, int before) {
    return static_cast<DateTime>(std::max(dayNumber(base) - clampSpan(before), firstDayNumber()));
}

DateTime listLastDay(DateTime base, int after) {
    return static_cast<DateTime>(std::min(dayNumber(base) + clampSpan(after), lastDayNumber()));
}

std::string listHeader(DateTime day, DateTime today) {
    std::string line = FormatDate("yyyy\"年\"m\"月\"d\"日(\"ddd\")\"", day);
    const int offset = dayNumber(day) - dayNumber(today);
    std::string tail;
    if (offset == 0)
        tail = "〔本日〕";
    else if (offset < 0)
        tail = "〔" + std::to_string(-offset) + "日前〕";
    else
        tail = "〔" + std::to_string(offset) + "日後〕";
    const auto used = platform::cp932Length(line) + platform::cp932Length(tail);
    if (used < static_cast<std::size_t>(kHeaderWidth))
        line.append(kHeaderWidth - used, ' ');
    return line + tail;
}

Agenda buildAgenda(DateTime base, const ListSpan& span, DateTime today, const EntryStore& store,
                   const platform::Settings& settings) {
    Agenda agenda;
    agenda.first = listFirstDay(base, span.before);
    agenda.last = listLastDay(base, span.after);
    agenda.caption = FormatDate("yyyy/mm/dd (ddd)", agenda.first) + "～" +
                     FormatDate("yyyy/mm/dd (ddd)", agenda.last);
    const bool qreki = settings.readBool("Form", "Qreki", false);
    const DayFacts facts(settings);
    const int todayNumber = dayNumber(today);
    for (int day = dayNumber(agenda.first); day <= dayNumber(agenda.last); ++day) {
        const auto date = static_cast<DateTime>(day);
        std::vector<std::string>& box = day < todayNumber    ? agenda.past
                                        : day == todayNumber ? agenda.today
                                                             : agenda.future;
        box.push_back(listHeader(date, today));
        if (qreki)
            box.push_back("【" + Rokuyo(date) + "】");
        for (auto& name : HolidayNames(date, settings))
            box.push_back(std::move(name));
        for (const DayMatch& match :
             EntriesForDay(date, store, facts, WeekSearchOrder::ScheduleList)) {
            std::string text;
            try {
                if (const auto content = LoadEntry(match.path))
                    text = content->plainText();
            } catch (const std::exception& e) {
                agenda.errors.emplace_back(e.what());
                continue;
            }
            if (match.family == EntryFamily::Birthday && match.birthYear)
                box.push_back(mainwindow::birthdayLine(date, *match.birthYear));
            for (auto& line : mainwindow::textLines(text))
                box.push_back(std::move(line));
        }
        box.emplace_back(kListSeparator);
    }
    return agenda;
}

Agenda buildAgenda(DateTime base, const ListSpan& span, DateTime today,
                   const platform::Settings& settings) {
    const SnapshotStore store(scheduleFolder(settings));
    return buildAgenda(base, span, today, store, settings);
}

std::string agendaText(const Agenda& agenda, DateTime now) {
    std::string text = "Title:" + agenda.caption + "\r\n";
    text += "Print:" + FormatDate("yyyy/mm/dd \"(\"aaa\")\" hh:mm:ss", now) + "\r\n\r\n";
    for (const auto* box : {&agenda.past, &agenda.today, &agenda.future}) {
        for (const std::string& line : *box)
            text += line + "\r\n";
    }
    return text;
}

bool writeTodoList(const std::filesystem::path& path, const std::string& text) {
    const bool fits = platform::fitsCp932(text);
    platform::writeFileAtomically(path, platform::toCp932(text));
    return fits;
}

}  // namespace hinagiku::schedule
