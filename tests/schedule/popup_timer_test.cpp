#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "calendar/format_date.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "schedule/memory_store.h"
#include "schedule/popup_timer.h"
#include "support/fake_clock.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::schedule {
namespace {

namespace fs = std::filesystem;
using testing::day;

DateTime at(int y, int m, int d, int h, int mi, int s = 0) {
    return day(y, m, d) + *encodeTime(h, mi, s);
}

class RecordingHost : public TickHost {
  public:
    explicit RecordingHost(const platform::Clock& clock) : clock_(clock) {}

    void reopenShownMemos() override { record("memos"); }
    void scheduleListBackToToday() override { record("list-today"); }
    void calendarBackToToday() override {
        record("calendar-today");
        if (onCalendar)
            onCalendar();
    }
    void showBirthdayGreeting() override { record("greeting"); }
    void playSoundFile(const std::string& path) override {
        record("sound " + fs::path(path).filename().string());
    }
    void openDiaryList() override {
        record("diary");
        if (onDiary)
            onDiary();
    }
    void loadPopupEntry(const PopupLoad& e) override {
        if (e.name == failingLoad)
            throw std::runtime_error("picture is broken");
        record("load " + std::to_string(e.batch) + (e.newWindow ? " new " : " ") + e.name +
               (e.dated ? " dated" : "") + (e.uptime ? " uptime" : "") +
               " text=" + e.content.plainText());
    }
    void presentPopup(std::uint64_t batch, const std::string& path, DateTime labelTime) override {
        record("present " + std::to_string(batch) + " " + fs::path(path).filename().string() +
               " label=" + FormatDate("yyyy/mm/dd hh:nn", labelTime));
        if (onPresent)
            onPresent();
        if (failPresent)
            throw std::runtime_error("window failed");
    }
    void checkMail() override {
        record("mail");
        if (onMail)
            onMail();
    }
    void refreshDisplays(DateTime now, DateTime universal) override {
        ++refreshes;
        lastNow = now;
        lastUniversal = universal;
    }
    void reportError(const std::string& message) override { record("error " + message); }

    // Events whose text starts with `kind`, each with the clock time it came at.
    std::vector<std::string> only(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& e : events) {
            if (e.rfind(kind, 0) == 0)
                out.push_back(e);
        }
        return out;
    }

    std::vector<std::string> events;
    std::function<void()> onDiary, onPresent, onMail, onCalendar;
    std::string failingLoad;
    bool failPresent = false;
    int refreshes = 0;
    DateTime lastNow = 0, lastUniversal = 0;

  private:
    void record(std::string e) {
        events.push_back(std::move(e) + " @" + FormatDate("hh:nn:ss", clock_.now()));
    }
    const platform::Clock& clock_;
};

// A store that cannot read one file, as an unreadable entry would.
class FailingStore : public ScheduleStore {
  public:
    std::optional<EntryContent> load(const std::string& path) const override {
        if (fs::path(path).filename() == failing)
            throw platform::IoError("\"" + path + "\": cannot read the entry");
        return ScheduleStore::load(path);
    }
    std::string failing;
};

class PopupTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder());
        settings.writeText("Calendar", "Directory", folder());
    }
    std::string folder() const { return (home.path() / "Data").string(); }
    void entry(const std::string& name, const std::string& text = "x") {
        platform::writeFileAtomically(folder() + "/" + name, platform::toCp932(text));
    }
    // Ticks once a second for `seconds` seconds (the first tick at once).
    void run(PopupTimer& timer, int seconds) {
        for (int i = 0; i < seconds; ++i) {
            timer.Timer1Timer();
            clock.advanceSeconds(1);
        }
    }

    hinagiku::testing::TempHome home;
    hinagiku::testing::MemorySettings settings;
    hinagiku::testing::FakeClock clock{at(2024, 7, 16, 8, 59, 50)};
    RecordingHost host{clock};
};

TEST_F(PopupTimerTest, FiresAtTheFirstTickOfItsMinute) {
    entry("0900____.__", "おはよう");
    PopupTimer timer(clock, settings, host);
    run(timer, 120);
    EXPECT_EQ(host.only("load"),
              std::vector<std::string>{"load 1 new 0900____.__ text=おはよう @09:00:00"});
    EXPECT_EQ(host.only("present"),
              std::vector<std::string>{"present 1 0900____.__ label=2024/07/16 09:00 @09:00:00"});
}

TEST_F(PopupTimerTest, NothingDueInTheStartingMinuteFires) {
    entry("0900____.__");
    clock.set(at(2024, 7, 16, 9, 0, 10));
    PopupTimer timer(clock, settings, host);
    run(timer, 120);
    EXPECT_TRUE(host.only("load").empty());
    clock.set(at(2024, 7, 17, 8, 59, 58));
    run(timer, 5);
    EXPECT_EQ(host.only("load").size(), 1u);
}

TEST_F(PopupTimerTest, LeadTimeMovesTheProbeButNotTheLabel) {
    settings.writeInt("Calendar", "before", 5);
    entry("0900____.__");
    clock.set(at(2024, 7, 16, 8, 54, 50));
    PopupTimer timer(clock, settings, host);
    run(timer, 30);
    EXPECT_EQ(host.only("present"),
              std::vector<std::string>{"present 1 0900____.__ label=2024/07/16 09:00 @08:55:00"});
}

TEST_F(PopupTimerTest, LeadTimeAcrossMidnightProbesTheNextDay) {
    // Tuesday 23:58 plus five minutes is Wednesday 00:03.
    settings.writeInt("Calendar", "before", 5);
    for (const char* name : {"0003____.WED", "0003____.TUE", "00030717.24", "00030716.24"})
        entry(name);
    clock.set(at(2024, 7, 16, 23, 57, 50));
    PopupTimer timer(clock, settings, host);
    run(timer, 20);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new 00030717.24 dated text=x @23:58:00",
                                        "load 1 0003____.WED text=x @23:58:00"}));
    EXPECT_EQ(host.only("present"),
              std::vector<std::string>{"present 1 0003____.WED label=2024/07/17 00:03 @23:58:00"});
}

TEST_F(PopupTimerTest, SeveralEntriesShareOneWindowAndTheLastIsPresented) {
    entry("0900____.__", "daily");
    entry("09000716.__", "yearly");
    PopupTimer timer(clock, settings, host);
    run(timer, 20);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new 0900____.__ text=daily @09:00:00",
                                        "load 1 09000716.__ text=yearly @09:00:00"}));
    EXPECT_EQ(host.only("present").size(), 1u);
    EXPECT_EQ(host.only("present")[0].rfind("present 1 09000716.__", 0), 0u);
    EXPECT_EQ(timer.currentPopupPath(), "");  // the next tick loaded nothing
}

TEST_F(PopupTimerTest, ClockSetBackFiresTheMinuteAgain) {
    entry("0900____.__");
    PopupTimer timer(clock, settings, host);
    run(timer, 30);
    clock.set(at(2024, 7, 16, 8, 59, 50));
    run(timer, 30);
    EXPECT_EQ(host.only("load").size(), 2u);
}

TEST_F(PopupTimerTest, EachPopupTickGetsItsOwnWindow) {
    entry("0900____.__");
    entry("0901____.__");
    PopupTimer timer(clock, settings, host);
    run(timer, 90);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new 0900____.__ text=x @09:00:00",
                                        "load 2 new 0901____.__ text=x @09:01:00"}));
}

TEST_F(PopupTimerTest, UptimeSlots) {
    entry("W0000600.__", "up");
    clock.setUptime(590000);
    PopupTimer timer(clock, settings, host);
    run(timer, 40);
    // Fired at the tick that saw 600 seconds of uptime (09:00:00), once.
    EXPECT_EQ(host.only("load"),
              std::vector<std::string>{"load 1 new W0000600.__ uptime text=up @09:00:00"});
    EXPECT_EQ(host.only("present"),
              std::vector<std::string>{"present 1 W0000600.__ label=2024/07/16 09:00 @09:00:00"});

    // Started within the slot: never.
    RecordingHost late(clock);
    clock.setUptime(605000);
    PopupTimer lateTimer(clock, settings, late);
    for (int i = 0; i < 30; ++i) {
        lateTimer.Timer1Timer();
        clock.advanceSeconds(1);
    }
    EXPECT_TRUE(late.only("load").empty());
    EXPECT_EQ(PopupTimer::uptimeName(4294967295u), "W4294960.__");
}

TEST_F(PopupTimerTest, UptimeEntryLabelShowsTheCurrentTime) {
    settings.writeInt("Calendar", "before", 10);
    entry("W0000060.__");
    clock.set(at(2024, 7, 16, 8, 59, 55));
    clock.setUptime(55000);
    {
        PopupTimer timer(clock, settings, host);
        run(timer, 10);
    }
    EXPECT_EQ(host.only("present"),
              std::vector<std::string>{"present 1 W0000060.__ label=2024/07/16 09:00 @09:00:00"});

    // With a minute's entry in the same tick, that one loads last and is presented.
    entry("0910____.__");
    RecordingHost both(clock);
    clock.set(at(2024, 7, 16, 8, 59, 55));
    clock.setUptime(55000);
    PopupTimer timer(clock, settings, both);
    for (int i = 0; i < 10; ++i) {
        timer.Timer1Timer();
        clock.advanceSeconds(1);
    }
    EXPECT_EQ(both.only("load").size(), 2u);
    EXPECT_EQ(both.only("present"),
              std::vector<std::string>{"present 1 0910____.__ label=2024/07/16 09:10 @09:00:00"});
}

TEST_F(PopupTimerTest, DatedEntriesEnableDelete) {
    entry("09000716.24");
    entry("09000716.__");
    PopupTimer timer(clock, settings, host);
    run(timer, 20);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new 09000716.24 dated text=x @09:00:00",
                                        "load 1 09000716.__ text=x @09:00:00"}));
}

TEST_F(PopupTimerTest, StartAndDateChangeWork) {
    clock.set(at(2024, 7, 16, 23, 59, 58));
    PopupTimer timer(clock, settings, host);
    run(timer, 5);
    EXPECT_EQ(host.only("memos"), std::vector<std::string>{"memos @23:59:58"});
    EXPECT_EQ(host.only("list-today"),
              (std::vector<std::string>{"list-today @23:59:58", "list-today @00:00:00"}));
    EXPECT_EQ(host.only("calendar-today").size(), 2u);
    EXPECT_EQ(host.refreshes, 5);
    EXPECT_DOUBLE_EQ(host.lastUniversal, host.lastNow - 540 / 1440.0);
    EXPECT_EQ(timer.lastDate(), day(2024, 7, 17));
}

TEST_F(PopupTimerTest, BirthdayGreetingOncePerDayAcrossRestarts) {
    entry("BORN0716.1980");
    entry("BORN0715.1990");
    const std::string sound = (home.path() / "born.wav").string();
    platform::writeFileAtomically(sound, "RIFF");
    settings.writeText("Pop_Born", "file", sound);
    {
        PopupTimer timer(clock, settings, host);
        run(timer, 3);
    }
    EXPECT_EQ(host.only("greeting").size(), 1u);
    EXPECT_EQ(host.only("sound"), std::vector<std::string>{"sound born.wav @08:59:50"});
    EXPECT_EQ(settings.readText("Pop_Born", "Day", ""), std::to_string(day(2024, 7, 16)));

    // A second start the same day shows nothing.
    RecordingHost second(clock);
    PopupTimer restarted(clock, settings, second);
    restarted.Timer1Timer();
    EXPECT_TRUE(second.only("greeting").empty());

    // The clock set back a day: that day's birthdays are greeted again.
    clock.set(at(2024, 7, 15, 12, 0));
    restarted.Timer1Timer();
    EXPECT_EQ(second.only("greeting").size(), 1u);
    EXPECT_EQ(settings.readText("Pop_Born", "Day", ""), std::to_string(day(2024, 7, 15)));

    // A day without birthdays leaves the record as it was.
    clock.set(at(2024, 7, 20, 12, 0));
    restarted.Timer1Timer();
    EXPECT_EQ(second.only("greeting").size(), 1u);
    EXPECT_EQ(settings.readText("Pop_Born", "Day", ""), std::to_string(day(2024, 7, 15)));

    settings.writeBool("Form", "BirthPop", false);
    settings.writeText("Pop_Born", "Day", "0");
    RecordingHost off(clock);
    clock.set(at(2024, 7, 16, 12, 0));
    PopupTimer(clock, settings, off).Timer1Timer();
    EXPECT_TRUE(off.only("greeting").empty());
}

TEST_F(PopupTimerTest, DiaryPromptIgnoresTheLeadTime) {
    settings.writeBool("Nikki", "Auto", true);
    settings.writeInt("Nikki", "Auto_H", 21);
    settings.writeInt("Nikki", "Auto_M", 0);
    settings.writeInt("Calendar", "before", 5);
    const std::string sound = (home.path() / "diary.wav").string();
    platform::writeFileAtomically(sound, "RIFF");
    settings.writeText("Calendar", "file", sound);
    clock.set(at(2024, 7, 16, 20, 54, 50));
    PopupTimer timer(clock, settings, host);
    run(timer, 7 * 60);
    EXPECT_EQ(host.only("diary"), std::vector<std::string>{"diary @21:00:00"});
    EXPECT_EQ(host.only("sound"), std::vector<std::string>{"sound diary.wav @21:00:00"});
}

TEST_F(PopupTimerTest, MailCountdownCountsMinuteChanges) {
    settings.writeBool("pop", "check", true);
    host.onMail = [] {};
    clock.set(at(2024, 7, 16, 10, 0, 30));
    PopupTimer timer(clock, settings, host);
    host.onMail = [&] { timer.setMailCountdown(settings.readInt("pop", "min", 60)); };
    // One tick every 30 seconds for two hours.
    for (int i = 0; i < 250; ++i) {
        timer.Timer1Timer();
        clock.advanceSeconds(30);
    }
    EXPECT_EQ(host.only("mail"),
              (std::vector<std::string>{"mail @10:01:00", "mail @11:01:00", "mail @12:01:00"}));

    // Minutes without a tick do not count.
    RecordingHost sparse(clock);
    settings.writeInt("pop", "min", 3);
    PopupTimer sleepy(clock, settings, sparse);
    for (int i = 0; i < 4; ++i) {
        clock.advanceSeconds(600);
        sleepy.Timer1Timer();
    }
    // Forty minutes, four minute changes: the second check comes at the fourth.
    ASSERT_EQ(sparse.only("mail").size(), 2u);
    EXPECT_EQ(sleepy.mailCountdown(), 3);
}

TEST_F(PopupTimerTest, ANestedTickDuringTheMailWaitDoesNotCheckAgain) {
    settings.writeBool("pop", "check", true);
    clock.set(at(2024, 7, 16, 10, 0, 59));
    PopupTimer timer(clock, settings, host);
    timer.Timer1Timer();
    host.onMail = [&] {
        host.onMail = nullptr;
        clock.advanceSeconds(60);  // the servers are slow
        timer.Timer1Timer();
    };
    clock.advanceSeconds(1);
    timer.Timer1Timer();
    EXPECT_EQ(host.only("mail").size(), 1u);
    EXPECT_EQ(timer.mailCountdown(), 59);
}

TEST_F(PopupTimerTest, AnEntryThatCannotBeLoadedIsReportedOnce) {
    entry("0900____.__", "daily");
    entry("09000716.24", "dated");
    entry("09000716.__", "yearly");
    FailingStore store;
    store.failing = "09000716.24";
    PopupTimer timer(clock, settings, host, store);
    run(timer, 70);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new 0900____.__ text=daily @09:00:00",
                                        "load 1 09000716.__ text=yearly @09:00:00"}));
    EXPECT_EQ(host.only("present").size(), 1u);
    const auto errors = host.only("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("09000716.24"), std::string::npos);
}

TEST_F(PopupTimerTest, WindowErrorsAreReportedOnceAndNeverRefire) {
    entry("0900____.__");
    entry("09000716.__");
    host.failingLoad = "0900____.__";
    host.failPresent = true;
    PopupTimer timer(clock, settings, host);
    run(timer, 70);
    // The window of the batch may exist already: the host looks it up by batch.
    EXPECT_EQ(host.only("load"), std::vector<std::string>{"load 1 09000716.__ text=x @09:00:00"});
    const auto errors = host.only("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("picture is broken"), std::string::npos);
    EXPECT_NE(errors[0].find("window failed"), std::string::npos);
}

TEST_F(PopupTimerTest, AVanishingDataFolderFiresNothing) {
    entry("0900____.__");
    entry("0901____.__");
    entry("W0000060.__");
    PopupTimer timer(clock, settings, host);
    run(timer, 20);
    fs::remove_all(folder());
    clock.setUptime(55000);
    run(timer, 60);
    EXPECT_EQ(host.only("load").size(), 1u);
    EXPECT_TRUE(host.only("error").empty());

    fs::create_directories(folder());
    entry("0902____.__");
    run(timer, 60);
    EXPECT_EQ(host.only("load").size(), 2u);
}

TEST_F(PopupTimerTest, NoDataFolderFindsNothingInTheWorkingDirectory) {
    settings.writeText("Calendar", "Directory", ".");
    const fs::path previous = fs::current_path();
    fs::current_path(folder());
    entry("0900____.__");
    PopupTimer timer(clock, settings, host);
    run(timer, 20);
    fs::current_path(previous);
    EXPECT_TRUE(host.only("load").empty());
    EXPECT_EQ(host.only("calendar-today").size(), 1u);
}

TEST_F(PopupTimerTest, NestedTicksNeitherRefireNorTakeTheWindow) {
    settings.writeBool("Nikki", "Auto", true);
    settings.writeInt("Nikki", "Auto_H", 9);
    entry("0900____.__", "nine");
    entry("0901____.__", "one past");
    PopupTimer timer(clock, settings, host);
    // The privacy prompt waits in a message loop: ticks run inside it.
    host.onDiary = [&] {
        for (int i = 0; i < 3; ++i)
            timer.Timer1Timer();
    };
    // The reminder mail's wait outlasts the minute: the nested tick fires
    // 09:01 in a window of its own.
    host.onPresent = [&] {
        host.onPresent = nullptr;
        clock.advanceSeconds(60);
        timer.Timer1Timer();
    };
    run(timer, 15);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new 0900____.__ text=nine @09:00:00",
                                        "load 2 new 0901____.__ text=one past @09:01:00"}));
    EXPECT_EQ(host.only("present"),
              (std::vector<std::string>{"present 1 0900____.__ label=2024/07/16 09:00 @09:00:00",
                                        "present 2 0901____.__ label=2024/07/16 09:01 @09:01:00"}));
    EXPECT_EQ(host.only("diary").size(), 1u);
}

// The date change's message loop (an error box at midnight, the greeting)
// spans two minutes and two uptime slots: the nested ticks fire them, and
// the outer tick, resuming, must not fire any of them again.
TEST_F(PopupTimerTest, ADateChangeLoopFiresEachEntryOnce) {
    entry("0000____.__", "midnight");
    entry("0001____.__", "one past");
    entry("W0000630.__", "up 630");
    entry("W0000690.__", "up 690");
    clock.set(at(2024, 7, 15, 23, 59, 50));
    clock.setUptime(590000);
    PopupTimer timer(clock, settings, host);
    timer.Timer1Timer();
    host.onCalendar = [&] {
        host.onCalendar = nullptr;
        clock.advanceSeconds(30);
        timer.Timer1Timer();
        clock.advanceSeconds(60);
        timer.Timer1Timer();
    };
    clock.advanceSeconds(10);
    run(timer, 180);
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new W0000630.__ uptime text=up 630 @00:00:30",
                                        "load 1 0000____.__ text=midnight @00:00:30",
                                        "load 2 new W0000690.__ uptime text=up 690 @00:01:30",
                                        "load 2 0001____.__ text=one past @00:01:30"}));
    EXPECT_EQ(host.only("present").size(), 2u);
}

TEST_F(PopupTimerTest, AnEntryLoadedBeforeANestedTickStaysInItsWindow) {
    // The uptime entry loads first; the diary prompt's nested tick must not
    // make the minute's entry open a second window.
    settings.writeBool("Nikki", "Auto", true);
    settings.writeInt("Nikki", "Auto_H", 9);
    entry("W0000600.__");
    entry("0900____.__");
    clock.setUptime(599990);
    clock.set(at(2024, 7, 16, 8, 59, 59));
    PopupTimer timer(clock, settings, host);
    timer.Timer1Timer();
    host.onDiary = [&] { timer.Timer1Timer(); };
    clock.set(at(2024, 7, 16, 9, 0, 0));
    clock.setUptime(600000);
    timer.Timer1Timer();
    EXPECT_EQ(host.only("load"),
              (std::vector<std::string>{"load 1 new W0000600.__ uptime text=x @09:00:00",
                                        "load 1 0900____.__ text=x @09:00:00"}));
    EXPECT_EQ(host.only("present").size(), 1u);
}

TEST(PopupTimerHelpers, AddMinutesAndLead) {
    EXPECT_EQ(
        FormatDate("yyyy/mm/dd hh:nn:ss", PopupTimer::addMinutes(at(2024, 12, 31, 23, 58, 30), 5)),
        "2025/01/01 00:03:30");
    EXPECT_EQ(FormatDate("hh:nn", PopupTimer::addMinutes(at(2024, 7, 16, 8, 55), 5)), "09:00");
    hinagiku::testing::MemorySettings settings;
    settings.writeInt("Calendar", "before", 75);
    EXPECT_EQ(PopupTimer::leadMinutes(settings), 59);
    settings.writeInt("Calendar", "before", -3);
    EXPECT_EQ(PopupTimer::leadMinutes(settings), 0);
}

}  // namespace
}  // namespace hinagiku::schedule
