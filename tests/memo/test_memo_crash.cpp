// A process creating, deleting, reordering and moving memos, killed at
// random moments again and again: the settings file always holds the index
// as it was before the interrupted change or as it is after it, never a
// category erased and not yet rewritten, never a memo in two categories or
// in none.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "memo/memo_store.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::memo {
namespace {

// Eight rounds of the five changes: each kind is interrupted many times
// while the test stays short on a disk where every replacement is synced.
constexpr int kOps = 40;
constexpr int kUsedCategories = 3;
constexpr int kMinKills = 150;

std::vector<std::string> keysOf(const platform::Settings& settings, int category) {
    std::vector<std::string> keys;
    for (const MemoEntry& e : listCategory(settings, category))
        keys.push_back(e.key);
    return keys;
}

// Change number `i` of a fixed sequence, applied to the index as it is:
// two creates, a reorder, a move to the next category and a delete.
void applyChange(int i, platform::Settings& settings, MemoStore& store) {
    const int round = i / 5;
    const int category = round % kUsedCategories;
    switch (i % 5) {
        case 0:
        case 1:
            store.create((round + i) % kUsedCategories);
            break;
        case 2: {
            std::vector<std::string> keys = keysOf(settings, category);
            std::reverse(keys.begin(), keys.end());
            store.saveOrder(category, {}, category, keys);
            break;
        }
        case 3: {
            std::vector<std::string> source = keysOf(settings, category);
            if (source.empty())
                break;
            const int target = (category + 1) % kUsedCategories;
            std::vector<std::string> moved = keysOf(settings, target);
            moved.push_back(source.front());
            source.erase(source.begin());
            store.saveOrder(category, source, target, moved);
            break;
        }
        default: {
            const int from = (round + 2) % kUsedCategories;
            const std::vector<std::string> keys = keysOf(settings, from);
            if (!keys.empty())
                store.remove(keys.back(), from);
            break;
        }
    }
}

// The whole index: Count and every category's entries with their titles.
std::vector<std::string> snapshot(const platform::Settings& settings) {
    std::vector<std::string> lines{"Count=" + settings.readText("MemoCount", "Count", "")};
    for (int c = 0; c < kCategoryCount; ++c)
        for (const MemoEntry& e : listCategory(settings, c))
            lines.push_back(std::to_string(c) + ":" + e.key + "=" + e.title);
    return lines;
}

[[noreturn]] void runChanges(const testing::TempHome& home, int first, int fd) {
    platform::ProfileFile ini(home.iniPath());
    MemoStore store(ini, home.path() / "Memo");
    for (int i = first; i < kOps; ++i) {
        applyChange(i, ini, store);
        if (::write(fd, &i, sizeof i) != static_cast<ssize_t>(sizeof i))
            _exit(3);
    }
    _exit(0);
}

TEST(MemoStoreCrash, AKilledChangeLeavesTheOldIndexOrTheNew) {
    // The index after each change, as a store that cannot be interrupted sees it.
    testing::TempHome modelHome;
    platform::MemorySettings model;
    MemoStore modelStore(model, modelHome.path() / "Memo");
    std::vector<std::vector<std::string>> states{snapshot(model)};
    for (int i = 0; i < kOps; ++i) {
        applyChange(i, model, modelStore);
        states.push_back(snapshot(model));
        // Every memo in exactly one category.
        std::vector<std::string> keys;
        for (int c = 0; c < kCategoryCount; ++c)
            for (const std::string& key : keysOf(model, c))
                keys.push_back(key);
        std::sort(keys.begin(), keys.end());
        ASSERT_TRUE(std::adjacent_find(keys.begin(), keys.end()) == keys.end());
    }

    std::mt19937 random(20261210);
    // About one change per kill whatever the disk does meanwhile: widened
    // while kills come before any change lands (a slow sync), so a pass
    // always moves on; narrowed while several land before a kill. Passes
    // over the whole sequence, each on a fresh file, until enough kills.
    unsigned long long window = 1000;
    int kills = 0;
    int passes = 0;
    while (kills < kMinKills || passes == 0) {
        testing::TempHome home;
        int done = 0;  // the changes the file holds
        while (done < kOps) {
            const int doneBefore = done;
            int fds[2];
            ASSERT_EQ(pipe(fds), 0);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                close(fds[0]);
                runChanges(home, done, fds[1]);
            }
            close(fds[1]);
            std::this_thread::sleep_for(std::chrono::microseconds(random() % window));
            kill(child, SIGKILL);
            int status = 0;
            waitpid(child, &status, 0);
            int acknowledged = done - 1;
            int last = 0;
            while (read(fds[0], &last, sizeof last) == static_cast<ssize_t>(sizeof last))
                acknowledged = std::max(acknowledged, last);
            close(fds[0]);
            if (WIFSIGNALED(status))
                ++kills;

            platform::ProfileFile ini(home.iniPath());
            const std::vector<std::string> now = snapshot(ini);
            const auto before = static_cast<std::size_t>(acknowledged) + 1;
            if (before + 1 < states.size() && now == states[before + 1]) {
                done = acknowledged + 2;  // the interrupted change had landed
            } else {
                ASSERT_EQ(now, states[before])
                    << "after change " << acknowledged << ", kill " << kills;
                done = acknowledged + 1;
            }
            if (done == doneBefore)
                window *= 2;
            else if (done - doneBefore > 1)
                window = std::max(20ULL, window / 2);
        }
        ++passes;
    }
    EXPECT_GE(kills, kMinKills);
}

}  // namespace
}  // namespace hinagiku::memo
