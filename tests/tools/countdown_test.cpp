#include "tools/countdown.h"

#include <gtest/gtest.h>

#include <vector>

#include "calendar/date_time.h"
#include "support/fake_clock.h"
#include "support/memory_settings.h"

namespace hinagiku::tools {
namespace {

using testing::FakeClock;

double noon() {
    return *encodeDate(2024, 3, 10) + 0.5;
}

TEST(Countdown, OneMinuteAnnouncesAtThirtyTwelveAndZero) {
    FakeClock clock(noon());
    clock.setUptime(5000);
    CountdownRun run(clock, 0, 1);
    EXPECT_EQ(run.maximum(), 60);
    EXPECT_EQ(run.remaining(), 60);
    std::vector<std::pair<std::int64_t, CountdownNotice>> notices;
    for (int second = 1; second <= 61 && !run.finished(); ++second) {
        clock.advanceSeconds(1);
        const CountdownNotice notice = run.tick();
        if (notice != CountdownNotice::None)
            notices.emplace_back(run.remaining(), notice);
    }
    const std::vector<std::pair<std::int64_t, CountdownNotice>> expected{
        {30, CountdownNotice::Half}, {12, CountdownNotice::Eighty}, {0, CountdownNotice::End}};
    EXPECT_EQ(notices, expected);
}

TEST(Countdown, TicksLateBySomeMillisecondsStillCountWholeSeconds) {
    FakeClock clock(noon());
    CountdownRun run(clock, 0, 1);
    clock.setUptime(1003);
    run.tick();
    EXPECT_EQ(run.remaining(), 59);
    clock.setUptime(59990);
    EXPECT_EQ(run.tick(), CountdownNotice::Eighty);  // 50 % was passed by the stall
    EXPECT_TRUE(run.halfAnnounced());
    EXPECT_EQ(run.remaining(), 1);
    clock.setUptime(60000);
    EXPECT_EQ(run.tick(), CountdownNotice::End);
}

TEST(Countdown, PauseMovesTheEndByTheTimeReallyPaused) {
    FakeClock clock(noon());
    CountdownRun run(clock, 0, 5);
    EXPECT_EQ(formatCountdownTime(run.endTime()), "2024/03/10 12:05:00");
    clock.advanceSeconds(20);
    run.tick();
    run.setPaused(true);
    for (int i = 0; i < 10; ++i) {
        clock.advanceSeconds(1);
        EXPECT_EQ(run.tick(), CountdownNotice::None);
        EXPECT_EQ(run.remaining(), 280);
    }
    run.setPaused(false);
    EXPECT_EQ(formatCountdownTime(run.endTime()), "2024/03/10 12:05:10");
    // A tick that came late while paused does not count twice.
    clock.advanceSeconds(5);
    run.tick();
    EXPECT_EQ(run.remaining(), 275);
}

TEST(Countdown, WallClockChangesNeverMoveTheEnd) {
    FakeClock clock(noon());
    CountdownRun run(clock, 0, 2);
    clock.advanceSeconds(30);
    run.tick();
    clock.set(clock.now() - 1.0 / 24);  // set back an hour
    clock.advanceSeconds(30);
    run.tick();
    EXPECT_EQ(run.remaining(), 60);
    EXPECT_EQ(formatCountdownTime(run.endTime()), "2024/03/10 12:02:00");
}

TEST(Countdown, UptimeWrapIsCrossed) {
    FakeClock clock(noon());
    clock.setUptime(0xFFFFFFFFu - 499);
    CountdownRun run(clock, 0, 1);
    clock.setUptime(500);  // one second later, across the wrap
    run.tick();
    EXPECT_EQ(run.remaining(), 59);
}

TEST(Countdown, SpanFieldsNormalise) {
    struct Case {
        int hours, minutes, expectedHours, expectedMinutes;
    } cases[] = {{0, 0, 0, 1}, {-3, 0, 0, 1}, {0, -5, 0, 1}, {2, 0, 2, 0}, {-1, 30, 0, 30}};
    for (const Case& c : cases) {
        int h = c.hours;
        int m = c.minutes;
        normaliseSpan(h, m);
        EXPECT_EQ(h, c.expectedHours);
        EXPECT_EQ(m, c.expectedMinutes);
    }
}

TEST(Countdown, Texts) {
    EXPECT_EQ(countdownStatusText(""), "時間を計っています。");
    EXPECT_EQ(countdownStatusText("ラーメン"), "ラーメンの時間を計っています。");
    EXPECT_EQ(countdownNoticeText(CountdownNotice::Half, ""), "５０％を経過しました。");
    EXPECT_EQ(countdownNoticeText(CountdownNotice::Eighty, "茶"),
              "茶の時間は８０％を経過しました。");
    EXPECT_EQ(countdownNoticeText(CountdownNotice::End, "茶"), "茶の時間になりました。");
}

TEST(CountdownPresets, DeletingTheFirstOfThreeMovesTheOthersDown) {
    testing::MemorySettings settings;
    for (int i = 0; i < 3; ++i) {
        addCountdownPreset(settings, {"p" + std::to_string(i), i, 10 + i, "a" + std::to_string(i),
                                      "", "c" + std::to_string(i)});
    }
    deleteCountdownPreset(settings, 0);
    EXPECT_EQ(settings.readInt("Gtimer", "Total", -1), 2);
    const std::vector<CountdownPreset> presets = readCountdownPresets(settings);
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0], (CountdownPreset{"p1", 1, 11, "a1", "", "c1"}));
    EXPECT_EQ(presets[1], (CountdownPreset{"p2", 2, 12, "a2", "", "c2"}));
    // The freed place is cleared.
    EXPECT_EQ(settings.readText("Gtimer", "2_Title", "x"), "");
    EXPECT_EQ(settings.readInt("Gtimer", "2_H", -1), 0);
    EXPECT_EQ(settings.readInt("Gtimer", "2_M", -1), 1);
}

TEST(CountdownPresets, DamagedTotalReadsOnlyWhatIsThere) {
    testing::MemorySettings settings;
    settings.writeText("Gtimer", "Total", "2000000000");
    settings.writeText("Gtimer", "0_Title", "one");
    settings.writeText("Gtimer", "1_M", "7");
    const std::vector<CountdownPreset> presets = readCountdownPresets(settings);
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[1].minutes, 7);
    settings.writeText("Gtimer", "Total", "-4");
    EXPECT_TRUE(readCountdownPresets(settings).empty());
}

}  // namespace
}  // namespace hinagiku::tools
