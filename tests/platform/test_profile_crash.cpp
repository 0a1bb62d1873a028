// A writer killed at random moments never leaves a settings file that is cut
// short or that lost a value written before.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

constexpr int kValues = 10000;
constexpr int kKeys = 200;

std::string keyOf(int i) {
    return "k" + std::to_string(i % kKeys);
}
std::string sectionOf(int i) {
    return "Section" + std::to_string(i % kKeys % 7);
}

// Writes values from `first` on, reporting each finished write on `fd`.
[[noreturn]] void writer(const std::filesystem::path& ini, int first, int fd) {
    ProfileFile file(ini);
    for (int i = first; i < kValues; ++i) {
        file.writeInt(sectionOf(i), keyOf(i), i);
        if (::write(fd, &i, sizeof i) != static_cast<ssize_t>(sizeof i))
            _exit(3);
    }
    _exit(0);
}

TEST(ProfileFileCrash, KilledWriterLeavesEveryEarlierValue) {
    testing::TempHome home;
    const auto ini = home.iniPath();
    std::mt19937 random(12345);
    int acknowledged = -1;
    int kills = 0;
    while (acknowledged < kValues - 1) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            writer(ini, acknowledged + 1, fds[1]);
        }
        close(fds[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        int done = 0;
        while (read(fds[0], &done, sizeof done) == static_cast<ssize_t>(sizeof done)) {
            acknowledged = std::max(acknowledged, done);
        }
        close(fds[0]);
        if (WIFSIGNALED(status))
            ++kills;

        // Every key holds its last acknowledged value, or the one written
        // while the kill came.
        ProfileFile file(ini);
        for (int key = 0; key < kKeys && key <= acknowledged; ++key) {
            const int last = acknowledged - ((acknowledged - key) % kKeys + kKeys) % kKeys;
            const int value = file.readInt(sectionOf(key), keyOf(key), -1);
            if (value != last) {
                ASSERT_EQ(value, acknowledged + 1) << "key " << key << " after kill " << kills;
                ASSERT_EQ(value % kKeys, key);
            }
        }
    }
    EXPECT_GT(kills, 0);
    // Besides temporary files of killed writers, the settings file is alone.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.path())) {
        files += entry.path().filename().string().rfind(".hinagiku.ini.", 0) == 0 ? 0 : 1;
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace hinagiku::platform
