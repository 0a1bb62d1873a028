#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/profile_file.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace hinagiku {
namespace {

using Outcome = testing::ProcessOutcome;

// Runs hinagikuctl with the words given and collects what it prints.
Outcome ctl(const std::vector<std::string>& words) {
    std::vector<std::string> argv{testing::builtProgram("hinagikuctl")};
    argv.insert(argv.end(), words.begin(), words.end());
    return testing::runProcess(argv);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

TEST(CalendarCommandsTest, HolidaysFromTheSettingsFileAndFromTheDefaults) {
    testing::TempHome home;
    {
        platform::ProfileFile ini(home.iniPath());
        ini.writeText("Horiday", "01/01", "【元旦】");
        ini.writeText("Horiday", "07/20", "【海の日】");
    }
    const Outcome fromFile = ctl({"holidays", "2003-01-01", "2003-07-31"});
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(lines(fromFile.out),
              (std::vector<std::string>{"2003-01-01\t【元旦】", "2003-01-13\t【成人の日】",
                                        "2003-03-21\t【春分の日】",
                                        "2003-07-21\t【海の日】\t【振替休日】"}));

    const Outcome switchedOff = ctl({"holidays", "--no-happy-monday", "2003-07-20", "2003-07-21"});
    EXPECT_EQ(lines(switchedOff.out),
              (std::vector<std::string>{"2003-07-20\t【海の日】", "2003-07-21\t【振替休日】"}));
    // The switch stays as it was in the file.
    EXPECT_EQ(platform::ProfileFile(home.iniPath()).readText("CalendarEx", "Happy_Monday", "x"),
              "x");

    const Outcome defaults = ctl({"holidays", "--defaults", "2024-05-01", "2024-05-31"});
    EXPECT_EQ(lines(defaults.out),
              (std::vector<std::string>{"2024-05-03\t【憲法記念日】", "2024-05-04\t【国民の休日】",
                                        "2024-05-05\t【こどもの日】", "2024-05-06\t【振替休日】"}));
    EXPECT_EQ(platform::ProfileFile(home.iniPath()).listKeys("Horiday").size(), 2u);
}

TEST(CalendarCommandsTest, HolidaysFollowTheLawSwitchOrTheLawOption) {
    testing::TempHome home;
    {
        platform::ProfileFile ini(home.iniPath());
        ini.writeInt("Horiday", "Set", 1);
        ini.writeText("Horiday", "04/29", "【みどりの日】");
        ini.writeText("Horiday", "06/01", "【創立記念日】");
    }
    const std::string before = home.readFile("hinagiku.ini");
    const std::vector<std::string> tableRules{"2026-04-29\t【みどりの日】",
                                              "2026-06-01\t【創立記念日】"};
    const std::vector<std::string> law{"2026-04-29\t【昭和の日】",   "2026-05-03\t【憲法記念日】",
                                       "2026-05-04\t【みどりの日】", "2026-05-05\t【こどもの日】",
                                       "2026-05-06\t【振替休日】",   "2026-06-01\t【創立記念日】"};
    EXPECT_EQ(lines(ctl({"holidays", "2026-04-20", "2026-06-05"}).out), tableRules);
    const Outcome forced = ctl({"holidays", "--law", "2026-04-20", "2026-06-05"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(lines(forced.out), law);
    // The switch in the file has the same effect; the option changes no file.
    EXPECT_EQ(home.readFile("hinagiku.ini"), before);
    platform::ProfileFile(home.iniPath()).writeText("CalendarEx", "Law", "1");
    EXPECT_EQ(lines(ctl({"holidays", "2026-04-20", "2026-06-05"}).out), law);
    EXPECT_EQ(
        lines(ctl({"holidays", "--law", "--no-happy-monday", "2026-04-20", "2026-06-05"}).out),
        law);

    // The law alone: the eleven defaults add nothing to it. 2026 has 18 days off.
    const Outcome pure = ctl({"holidays", "--law", "--defaults", "2026-01-01", "2026-12-31"});
    EXPECT_EQ(lines(pure.out).size(), 18u);
    EXPECT_EQ(lines(pure.out).front(), "2026-01-01\t【元日】");
    // --defaults alone keeps the table rules, whatever the file says.
    EXPECT_EQ(lines(ctl({"holidays", "--defaults", "2026-12-23", "2026-12-23"}).out),
              std::vector<std::string>{"2026-12-23\t【天皇誕生日】"});
}

TEST(CalendarCommandsTest, EquinoxQrekiMoonFormat) {
    testing::TempHome home;
    EXPECT_EQ(ctl({"equinox", "2012"}).out, "2012-03-20\t2012-09-22\n");
    EXPECT_EQ(lines(ctl({"qreki", "2004-01-21", "2004-01-22"}).out),
              (std::vector<std::string>{"2004-01-21\t12\t0\t30\t大安\t大寒",
                                        "2004-01-22\t1\t0\t1\t先勝\t"}));
    EXPECT_EQ(lines(ctl({"qreki", "2001-01-01", "2010-12-31"}).out).size(), 3652u);
    EXPECT_EQ(ctl({"moon", "2000-01-01T12:00"}).out,
              "2451545.00000\t24.850972\t23\t-122.6690\t24 days, 20 hours, 25 minutes.\n");
    // Japan time, 9 hours ahead of universal time.
    setenv("TZ", "Asia/Tokyo", 1);
    EXPECT_EQ(ctl({"moon", "--local", "2000-01-01T21:00:00"}).out,
              "2451545.00000\t24.850972\t23\t-122.6690\t24 days, 20 hours, 25 minutes.\n");
    unsetenv("TZ");
    EXPECT_EQ(ctl({"format", "yyyy/mm/dd \"(\"aaa\")\" hh:mm:ss", "2024-03-15T07:05:09"}).out,
              "2024/03/15 (金) 07:05:09\n");
}

TEST(CalendarCommandsTest, BadArgumentsExitWithStatusTwo) {
    testing::TempHome home;
    const std::vector<std::vector<std::string>> cases = {
        {"holidays", "2024-03-02", "2024-03-01"},  // FROM after TO
        {"holidays", "2024-02-30", "2024-03-01"},  // no such date
        {"qreki", "0000-01-01", "0001-01-01"},     // outside 1..9999
        {"qreki", "10000-01-01", "10000-01-02"},   // outside 1..9999
        {"qreki", "2024-1-01", "2024-01-02"},      // malformed
        {"equinox", "twenty"},                     //
        {"moon", "2004-01-22"},                    // no time of day
        {"moon", "2004-01-22T25:00"},              //
        {"holidays", "--bogus", "2024-01-01", "2024-01-02"},
        {"format"}};
    for (const auto& words : cases) {
        const Outcome r = ctl(words);
        EXPECT_EQ(r.status, 2) << words[0] << " " << (words.size() > 1 ? words[1] : "");
        EXPECT_EQ(r.out, "") << words[0];
        EXPECT_NE(r.err.find("usage: hinagikuctl"), std::string::npos) << words[0];
    }
    EXPECT_NE(ctl({"holidays", "2024-03-02", "2024-03-01"}).err.find("after"), std::string::npos);
}

}  // namespace
}  // namespace hinagiku
