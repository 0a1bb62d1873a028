#include "mainwindow/day_view.h"

#include <cstdio>
#include <exception>

#include "calendar/format_date.h"
#include "calendar/holidays.h"
#include "calendar/lunisolar.h"
#include "schedule/day_matching.h"
#include "schedule/entry_files.h"

namespace hinagiku::mainwindow {
namespace {

constexpr int kSysActiveCaption = static_cast<int>(0x80000002u);
constexpr int kSysMenu = static_cast<int>(0x80000004u);
constexpr int kSysButtonShadow = static_cast<int>(0x80000010u);
constexpr int kWhite = 0xFFFFFF;
constexpr int kNavy = 0x800000;

}  // namespace

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string popViewCaption(DateTime date, DateTime today) {
    std::string caption = FormatDate("yyyy/mm/dd(aaa)", date);
    const int offset = dayNumber(date) - dayNumber(today);
    if (offset < 0)
        caption += "　" + std::to_string(-offset) + "日前";
    if (offset > 0)
        caption += "　" + std::to_string(offset) + "日後";
    return caption;
}

std::string birthdayLine(DateTime date, int birthYear) {
    const CivilDate d = decodeDate(date);
    std::string born;
    if (const auto birth = encodeDate(birthYear, d.month, d.day)) {
        born = FormatDate("yyyy/mm/dd (ddd)", *birth);
    } else {
        // 29 February of a birth year that had none: the date as written.
        char text[32];
        std::snprintf(text, sizeof text, "%04d/%02d/%02d", birthYear, d.month, d.day);
        born = text;
    }
    return "【" + std::to_string(d.year - birthYear) + "歳の誕生日】" + born;
}

DayView buildDayView(DateTime date, DateTime today, const platform::Settings& settings,
                     bool specialDay) {
    DayView view;
    view.popView = settings.readBool("CalendarEx", "PopView", false);
    const int weekday = DayOfWeek(date);
    view.monthPanel = weekday == 1   ? DayColor::Sunday
                      : weekday == 7 ? DayColor::Saturday
                                     : DayColor::Weekday;

    if (view.popView) {
        const int offset = dayNumber(date) - dayNumber(today);
        if (offset > 0) {
            view.textColor = settings.readInt("To_do", "FutureColor", kNavy);
            view.backColor = settings.readInt("To_do", "FutureBackColor", kSysMenu);
        } else if (offset == 0) {
            view.textColor = settings.readInt("To_do", "TodayColor", kWhite);
            view.backColor = settings.readInt("To_do", "TodayBackColor", kSysButtonShadow);
        } else {
            view.textColor = settings.readInt("To_do", "PastColor", kWhite);
            view.backColor = settings.readInt("To_do", "PastBackColor", kSysActiveCaption);
        }
        if (settings.readBool("Form", "Qreki", false)) {
            view.lines.push_back("【" + Rokuyo(date) + "】");
            const std::string term = SolarTermName(date);
            if (!term.empty())
                view.lines.push_back("【" + term + "】");
        }
    }

    const std::vector<std::string> holidays = HolidayNames(date, settings);
    view.holiday = !holidays.empty();
    if (view.popView)
        view.lines.insert(view.lines.end(), holidays.begin(), holidays.end());
    if (view.holiday)
        view.monthPanel = DayColor::Holiday;
    if (specialDay)
        view.monthPanel = DayColor::SpecialDay;

    if (!view.popView)
        return view;
    for (const schedule::DayMatch& match : schedule::EntriesForDay(date, settings)) {
        std::string text;
        try {
            if (const auto content = schedule::LoadEntry(match.path))
                text = content->plainText();
        } catch (const std::exception& e) {
            view.errors.emplace_back(e.what());
            continue;
        }
        if (match.family == schedule::EntryFamily::Birthday && match.birthYear) {
            view.lines.push_back(birthdayLine(date, *match.birthYear));
        }
        for (auto& line : textLines(text))
            view.lines.push_back(std::move(line));
    }
    return view;
}

}  // namespace hinagiku::mainwindow
