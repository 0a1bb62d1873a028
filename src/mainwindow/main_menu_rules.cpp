#include "mainwindow/main_menu_rules.h"

#include <cstdio>

#include "core/home_folder.h"

namespace hinagiku::mainwindow {

bool mailMenuVisible(const platform::Settings& settings) {
    return settings.readBool("pop", "pop1_check", false) ||
           settings.readBool("pop", "pop2_check", false) ||
           settings.readBool("pop", "pop3_check", false);
}

bool periodItemVisible(const platform::Settings& settings) {
    return settings.readInt("Setup", "Period", 1) == 0;
}

std::string periodCaption(const platform::Settings& settings) {
    return settings.readText("Form", "Period_Cap", "Period");
}

bool shutdownInMainMenu(const platform::Settings& settings) {
    return settings.readInt("Setup", "Reboot", 1) == 0;
}

bool shutdownInLauncherMenu(const platform::Settings& settings) {
    return settings.readBool("Setup", "Reboot_exec", false);
}

InfoAction infoDoubleClickAction(const platform::Settings& settings) {
    const int value = settings.readInt("Setup", "MIcon_DBLC", 0);
    if (value < 0 || value > static_cast<int>(InfoAction::PhoneBook))
        return InfoAction::DiaryList;
    return static_cast<InfoAction>(value);
}

std::string memoIconTip(InfoAction action) {
    const char* what = "日記リスト";
    switch (action) {
        case InfoAction::DiaryList:
            what = "日記リスト";
            break;
        case InfoAction::ScheduleList:
            what = "To_do一覧";
            break;
        case InfoAction::PopupRegistration:
            what = "Popupの登録";
            break;
        case InfoAction::ScheduleRegistration:
            what = "To_doの登録";
            break;
        case InfoAction::MailCheck:
            what = "メールチェック";
            break;
        case InfoAction::PhoneBook:
            what = "簡易電話帳";
            break;
    }
    return std::string("ダブルクリック：") + what + "／右クリック：メモメニュー";
}

CalendarAction calendarDoubleClickAction(const platform::Settings& settings) {
    const int value = settings.readInt("Setup", "Cal_DBLC", 0);
    if (value < 0 || value > static_cast<int>(CalendarAction::DiaryList)) {
        return CalendarAction::PopupRegistration;
    }
    return static_cast<CalendarAction>(value);
}

std::vector<std::filesystem::path> helpFileCandidates(const std::filesystem::path& executableFolder,
                                                      const std::filesystem::path& home) {
    const std::filesystem::path page = std::filesystem::path("help_html") / "index.html";
    return {executableFolder / page, executableFolder.parent_path() / "share" / "hinagiku" / page,
            home / page};
}

std::filesystem::path helpFilePath(const std::filesystem::path& home) {
    const auto candidates = helpFileCandidates(core::executableFolder(), home);
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return candidates.back();
}

std::string resourceMeterText(const std::optional<platform::MemoryStatus>& status) {
    if (!status)
        return {};
    const auto availableKb = static_cast<long long>(status->availableBytes / 1024);
    const auto hundredthKb = static_cast<long long>(status->totalBytes / 1024 / 100);
    // A machine with less than 100 KB would divide by zero.
    const long long percent = hundredthKb > 0 ? availableKb / hundredthKb : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%lldK(%lld%%)", availableKb, percent);
    return text;
}

}  // namespace hinagiku::mainwindow
