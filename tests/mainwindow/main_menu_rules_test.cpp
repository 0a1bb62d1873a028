#include "mainwindow/main_menu_rules.h"

#include "core/command_text.h"

#include <gtest/gtest.h>

#include "mainwindow/drop_text.h"
#include "mainwindow/month_navigation.h"
#include "support/memory_settings.h"

namespace hinagiku::mainwindow {
namespace {

using testing::MemorySettings;

TEST(DropText, SeparatorRule) {
    const std::vector<std::string> three{"/home/u/a.txt", "/home/u/b c.txt", "/tmp/d"};
    EXPECT_EQ(droppedNamesText(three, false, false),
              "/home/u/a.txt\r\n/home/u/b c.txt\r\n/tmp/d\r\n");
    EXPECT_EQ(droppedNamesText(three, false, true), "/home/u/a.txt /home/u/b c.txt /tmp/d");
    EXPECT_EQ(droppedNamesText(three, true, false), "a.txt\r\nb c.txt\r\nd\r\n");
    EXPECT_EQ(droppedNamesText({"/home/u/a.txt"}, false, false), "/home/u/a.txt");
    EXPECT_EQ(droppedNamesText({"/home/u/a.txt"}, true, true), "a.txt");
}

TEST(MenuRules, VisibilityFromSettings) {
    MemorySettings settings;
    EXPECT_FALSE(mailMenuVisible(settings));
    EXPECT_FALSE(periodItemVisible(settings));
    EXPECT_EQ(periodCaption(settings), "Period");
    EXPECT_FALSE(shutdownInMainMenu(settings));  // [Setup] Reboot defaults to 1
    EXPECT_FALSE(shutdownInLauncherMenu(settings));
    settings.writeBool("pop", "pop3_check", true);
    settings.writeInt("Setup", "Period", 0);
    settings.writeText("Form", "Period_Cap", "周期");
    settings.writeInt("Setup", "Reboot", 0);
    settings.writeBool("Setup", "Reboot_exec", true);
    EXPECT_TRUE(mailMenuVisible(settings));
    EXPECT_TRUE(periodItemVisible(settings));
    EXPECT_EQ(periodCaption(settings), "周期");
    EXPECT_TRUE(shutdownInMainMenu(settings));
    EXPECT_TRUE(shutdownInLauncherMenu(settings));
}

TEST(MenuRules, MemoIconTips) {
    EXPECT_EQ(memoIconTip(InfoAction::DiaryList),
              "ダブルクリック：日記リスト／右クリック：メモメニュー");
    EXPECT_EQ(memoIconTip(InfoAction::ScheduleList),
              "ダブルクリック：To_do一覧／右クリック：メモメニュー");
    EXPECT_EQ(memoIconTip(InfoAction::PopupRegistration),
              "ダブルクリック：Popupの登録／右クリック：メモメニュー");
    EXPECT_EQ(memoIconTip(InfoAction::ScheduleRegistration),
              "ダブルクリック：To_doの登録／右クリック：メモメニュー");
    EXPECT_EQ(memoIconTip(InfoAction::MailCheck),
              "ダブルクリック：メールチェック／右クリック：メモメニュー");
    EXPECT_EQ(memoIconTip(InfoAction::PhoneBook),
              "ダブルクリック：簡易電話帳／右クリック：メモメニュー");
    MemorySettings settings;
    settings.writeInt("Setup", "MIcon_DBLC", 5);
    EXPECT_EQ(infoDoubleClickAction(settings), InfoAction::PhoneBook);
    settings.writeInt("Setup", "MIcon_DBLC", 9);
    EXPECT_EQ(infoDoubleClickAction(settings), InfoAction::DiaryList);
    settings.writeInt("Setup", "Cal_DBLC", 3);
    EXPECT_EQ(calendarDoubleClickAction(settings), CalendarAction::JumpToDate);
}

// A packaged program finds the pages it ships; a portable copy its own.
TEST(MenuRules, HelpPagesBesideTheProgramThenInstalledThenHome) {
    const auto candidates = helpFileCandidates("/opt/h/bin", "/home/u/.local/share/hinagiku");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], "/opt/h/bin/help_html/index.html");
    EXPECT_EQ(candidates[1], "/opt/h/share/hinagiku/help_html/index.html");
    EXPECT_EQ(candidates[2], "/home/u/.local/share/hinagiku/help_html/index.html");
}

TEST(MenuRules, ResourceMeter) {
    platform::MemoryStatus status;
    status.totalBytes = 8ull * 1024 * 1024 * 1024;  // 8388608 KB
    status.availableBytes = 2ull * 1024 * 1024 * 1024;
    EXPECT_EQ(resourceMeterText(status), "2097152K(25%)");
    status.totalBytes = 50 * 1024;  // under 100 KB: no division by zero
    status.availableBytes = 10 * 1024;
    EXPECT_EQ(resourceMeterText(status), "10K(0%)");
    EXPECT_EQ(resourceMeterText(std::nullopt), "");
}

TEST(MenuRules, ProgramCommandSplit) {
    struct Case {
        std::string value, program, parameters;
    } cases[] = {{"/usr/bin/thunderbird?-mail", "/usr/bin/thunderbird", "-mail"},
                 {"/usr/bin/app", "/usr/bin/app", ""},
                 {"?readme.txt", "readme.txt", ""},
                 {"a?b?c", "a", "b?c"}};
    for (const auto& c : cases) {
        const core::CommandText command = core::splitCommandText(c.value);
        EXPECT_EQ(command.program, c.program) << c.value;
        EXPECT_EQ(command.parameters, c.parameters) << c.value;
    }
    EXPECT_EQ(core::splitCommandText("/usr/bin/app").workingFolder, "/usr/bin/");
    EXPECT_EQ(core::splitCommandText("app").workingFolder, "");
}

TEST(MonthNavigation, DayLoweredUntilItExists) {
    EXPECT_EQ(nextMonthDate({2024, 1, 31}), (GridDate{2024, 2, 29}));
    EXPECT_EQ(nextMonthDate({2023, 1, 31}), (GridDate{2023, 2, 28}));
    EXPECT_EQ(previousMonthDate({2024, 3, 31}), (GridDate{2024, 2, 29}));
    EXPECT_EQ(nextMonthDate({2024, 12, 15}), (GridDate{2025, 1, 15}));
    EXPECT_EQ(previousMonthDate({2024, 1, 15}), (GridDate{2023, 12, 15}));
    EXPECT_EQ(nextMonthDate({1582, 9, 10}), (GridDate{1582, 10, 4}));
    EXPECT_EQ(nextMonthDate({3999, 1, 29}), (GridDate{3999, 2, 28}));
    EXPECT_EQ(nextMonthDate({4000, 1, 29}), (GridDate{4000, 2, 28}));
}

}  // namespace
}  // namespace hinagiku::mainwindow
