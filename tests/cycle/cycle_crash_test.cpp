// The list update killed at any moment leaves the old list or the new one,
// and moving the dates out of the settings file leaves them in one file or
// both, never in none.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "cycle/cycle_file.h"
#include "cycle/cycle_math.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::cycle {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> listFrom(int y, int count) {
    std::vector<std::string> dates;
    const int first = *encodeDate(y, 1, 1);
    for (int i = 0; i < count; ++i)
        dates.push_back(entryText(first + i * 29));
    return dates;
}

// Runs `work` in a child killed after a random pause; returns whether the
// kill came before the child finished.
template <typename Work>
bool runKilled(std::mt19937& random, int maxMicroseconds, Work work) {
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % maxMicroseconds));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

TEST(CycleCrash, ListUpdateLeavesTheOldListOrTheNew) {
    testing::TempHome home;
    const fs::path folder = home.path() / "Period";
    fs::create_directories(folder);
    const auto a = listFrom(2000, 200);
    const auto b = listFrom(2030, 150);
    std::mt19937 random(4242);
    int kills = 0;
    for (int round = 0; round < 40; ++round) {
        const bool killed = runKilled(random, 30000, [&] {
            platform::ProfileFile settings(home.iniPath());
            CycleFile file(settings, folder);
            for (int k = 0;; ++k)
                file.writeEntries(k % 2 == 0 ? a : b);
        });
        kills += killed ? 1 : 0;
        platform::ProfileFile check(folder / "Period.ini");
        const auto stored = numberedEntries(check.listEntries("Period"));
        if (stored.empty())
            continue;  // killed before the first write finished
        ASSERT_TRUE(stored == a || stored == b) << "round " << round << ": " << stored.size();
        ASSERT_EQ(check.readText("Period", "Count", ""), std::to_string(stored.size()));
    }
    EXPECT_GT(kills, 0);
}

TEST(CycleCrash, MovingOutOfTheSettingsFileLosesNoDate) {
    testing::TempHome home;
    const fs::path folder = home.path() / "Period";
    fs::create_directories(folder);
    const auto inSettings = listFrom(1990, 120);
    const auto inFile = listFrom(2001, 80);
    std::mt19937 random(777);
    for (int round = 0; round < 30; ++round) {
        fs::remove(home.iniPath());
        fs::remove(folder / "Period.ini");
        {
            platform::ProfileFile settings(home.iniPath());
            CycleFile file(settings, folder);
            file.writeEntries(inFile);
            settings.edit([&](platform::SettingsEdit& edit) {
                for (std::size_t i = 0; i < inSettings.size(); ++i)
                    edit.writeText("Period", std::to_string(i), inSettings[i]);
                edit.writeText("Period", "Count", std::to_string(inSettings.size()));
                edit.writeText("Form", "Delete", "1");
            });
        }
        runKilled(random, 20000, [&] {
            platform::ProfileFile settings(home.iniPath());
            CycleFile file(settings, folder);
            file.loadEntries();
        });
        platform::ProfileFile settings(home.iniPath());
        platform::ProfileFile cycle(folder / "Period.ini");
        std::set<std::string> found;
        for (const auto& d : numberedEntries(settings.listEntries("Period")))
            found.insert(d);
        for (const auto& d : numberedEntries(cycle.listEntries("Period")))
            found.insert(d);
        for (const auto& d : inSettings)
            ASSERT_TRUE(found.count(d)) << "round " << round << " lost " << d;
        for (const auto& d : inFile)
            ASSERT_TRUE(found.count(d)) << "round " << round << " lost " << d;
        ASSERT_EQ(settings.readText("Form", "Delete", ""), "1");
    }
}

}  // namespace
}  // namespace hinagiku::cycle
