// The installed program as a user meets it: started under Xvfb shortly
// before a daily reminder's minute (the clock moved there by libfaketime),
// it shows one window captioned "Popup Window" at that minute and no second
// one in the same minute.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "support/private_x_server.h"
#include "support/temp_home.h"

namespace {

constexpr const char* kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

bool onPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Starts `argv` with extra environment entries; returns its process id.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            int stdoutFd = -1) {
    const pid_t pid = fork();
    if (pid == 0) {
        for (const auto& e : env)
            putenv(const_cast<char*>(e.c_str()));
        if (stdoutFd >= 0)
            dup2(stdoutFd, 1);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::string capture(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, p))
            out += buffer;
        pclose(p);
    }
    return out;
}

int countLines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

TEST(InstalledProgram, DailyReminderPopsUpOnceAtItsMinute) {
    if (!onPath("Xvfb") || !onPath("xdotool") || !std::filesystem::exists(kFakeTime)) {
        GTEST_SKIP() << "needs Xvfb, xdotool and libfaketime (scripts/setup.sh installs them)";
    }
    hinagiku::testing::TempHome home;
    const auto data = home.path() / "Schedule";
    std::filesystem::create_directories(data);
    {
        hinagiku::platform::ProfileFile ini(home.iniPath());
        ini.writeText("Calendar", "Directory", data.string());
        ini.writeInt("Horiday", "Set", 1);
        ini.writeText("Tokeiya", "Ver", "Version 2.70");
        ini.writeBool("Form", "Waveplay", false);
    }
    home.writeFile("Schedule/0900____.__", hinagiku::platform::toCp932("朝の会議\r\n"));

    const hinagiku::testing::PrivateXServer xserver;
    ASSERT_FALSE(xserver.display().empty()) << xserver.failure();
    const std::string& display = xserver.display();

    // 08:59:30 today (UTC), with the wall clock running four times as fast:
    // 7.5 real seconds for the program to start, even on a loaded machine.
    const std::time_t now = std::time(nullptr);
    const std::time_t target = now - now % 86400 + 8 * 3600 + 59 * 60 + 30;
    const std::string fake =
        "FAKETIME=" + std::to_string(static_cast<long long>(target - now)) + " x4";
    const std::string program =
        std::string(std::getenv("HINAGIKU_BUILD_DIR")) + "/apps/hinagiku/hinagiku";
    const pid_t app = spawn({program}, {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "TZ=UTC",
                                        "LD_PRELOAD=" + std::string(kFakeTime), fake,
                                        "FAKETIME_DONT_FAKE_MONOTONIC=1", "SDL_AUDIODRIVER=dummy",
                                        // libfaketime is preloaded ahead of a sanitizer runtime
                                        "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0",
                                        "HINAGIKU_HOME=" + home.path().string()});

    const std::string search =
        "DISPLAY=" + display + " xdotool search --onlyvisible --name '^Popup Window' 2>/dev/null";
    // The faked minute 09:00 lasts 15 real seconds; watch it through and a little past.
    int seen = 0;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(26)) {
        seen = std::max(seen, countLines(capture(search)));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    const std::string ids = capture(search);
    const int atEnd = countLines(ids);
    // The caption as the window manager sees it: exactly the program's own
    // text, nothing appended.
    std::string names;
    if (atEnd > 0) {
        names = capture("DISPLAY=" + display + " xprop -id " + ids.substr(0, ids.find('\n')) +
                        " _NET_WM_NAME WM_NAME 2>/dev/null");
    }
    stop(app);
    EXPECT_EQ(seen, 1) << "popup windows seen at once";
    EXPECT_EQ(atEnd, 1) << "popup windows at the end of the minute";
    EXPECT_NE(names.find("_NET_WM_NAME(UTF8_STRING) = \"Popup Window\"\n"), std::string::npos)
        << names;
    EXPECT_NE(names.find("WM_NAME(STRING) = \"Popup Window\"\n"), std::string::npos) << names;
}

}  // namespace
