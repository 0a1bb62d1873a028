// The program as a user meets it, under Xvfb with the clock moved by
// libfaketime to just before a daily reminder that asks for a mail, with the
// periodic mail check on: at that minute one reminder mail reaches the SMTP
// server and the result window "pop3" appears for the waiting messages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "mail/stored_password.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "schedule/entry_options.h"
#include "scripted_server.h"
#include "support/private_x_server.h"
#include "support/temp_home.h"

namespace {

constexpr const char* kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

bool onPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    const pid_t pid = fork();
    if (pid == 0) {
        for (const auto& e : env)
            putenv(const_cast<char*>(e.c_str()));
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
        usleep(100000);
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

TEST(InstalledProgram, ReminderMailAndMailCheckAtTheMinute) {
    if (!onPath("Xvfb") || !onPath("xdotool") || !std::filesystem::exists(kFakeTime))
        GTEST_SKIP() << "needs Xvfb, xdotool and libfaketime (scripts/setup.sh installs them)";
    using hinagiku::testing::ScriptedServer;
    ScriptedServer pop3({{"+OK ready\r\n", "+OK\r\n", "+OK\r\n", "+OK 2 300\r\n", "+OK\r\n"}});
    ScriptedServer smtp({{"220 ready\r\n", "250 hello\r\n", "250 ok\r\n", "250 ok\r\n",
                          "354 go\r\n", "250 queued\r\n", "221 bye\r\n"}});

    hinagiku::testing::TempHome home;
    const auto data = home.path() / "Schedule";
    std::filesystem::create_directories(data);
    const std::string entry = (data / "0900____.__").string();
    home.writeFile("Schedule/0900____.__", hinagiku::platform::toCp932("朝の会議\r\n"));
    {
        hinagiku::platform::ProfileFile ini(home.iniPath());
        ini.writeText("Calendar", "Directory", data.string());
        ini.writeInt("Horiday", "Set", 1);
        ini.writeText("Tokeiya", "Ver", "Version 2.70");
        ini.writeBool("Form", "Waveplay", false);
        hinagiku::schedule::EntryOptions options;
        options.smtp = true;
        hinagiku::schedule::writeEntryOptions(ini, entry, options, false, false);
        ini.writeBool("smtp", "smtp_check", true);
        ini.writeText("smtp", "smtp_server", "127.0.0.1");
        ini.writeText("smtp", "smtp_port", std::to_string(smtp.port()));
        ini.writeText("smtp", "smtp_mailaddr", "u@example.jp");
        ini.writeBool("pop", "check", true);
        ini.writeBool("pop", "pop1_check", true);
        ini.writeText("pop", "pop1_name", "Home");
        ini.writeText("pop", "pop1_server", "127.0.0.1");
        ini.writeText("pop", "pop1_user", "taro");
        hinagiku::mail::writePassword(ini, "pop", "pop1_password", "secret");
        ini.writeText("pop", "pop1_port", std::to_string(pop3.port()));
    }

    const hinagiku::testing::PrivateXServer xserver;
    ASSERT_FALSE(xserver.display().empty()) << xserver.failure();
    const std::string& display = xserver.display();

    // 08:59:40 today (UTC), the wall clock running four times as fast; the
    // waits of the mail and the check run on the real monotonic clock.
    const std::time_t now = std::time(nullptr);
    const std::time_t target = now - now % 86400 + 8 * 3600 + 59 * 60 + 40;
    const std::string fake =
        "FAKETIME=" + std::to_string(static_cast<long long>(target - now)) + " x4";
    const std::string program =
        std::string(std::getenv("HINAGIKU_BUILD_DIR")) + "/apps/hinagiku/hinagiku";
    const pid_t app = spawn(
        {program}, {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "TZ=UTC",
                    "LD_PRELOAD=" + std::string(kFakeTime), fake, "FAKETIME_DONT_FAKE_MONOTONIC=1",
                    "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0",
                    "HINAGIKU_HOME=" + home.path().string()});

    const std::string search =
        "DISPLAY=" + display + " xdotool search --onlyvisible --name '^pop3$' 2>/dev/null";
    bool resultShown = false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000 && !(resultShown && smtp.messages().size() == 1)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
        if (!resultShown)
            resultShown = !capture(search).empty();
    }
    // No second mail and no second check in the same minute.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    const std::string popups = capture(
        "DISPLAY=" + display + " xdotool search --onlyvisible --name '^Popup Window' 2>/dev/null");
    stop(app);
    EXPECT_FALSE(popups.empty()) << "no popup window";
    EXPECT_TRUE(resultShown) << "no window \"pop3\"";
    ASSERT_EQ(smtp.messages().size(), 1u);
    EXPECT_NE(smtp.messages()[0].find("\x1B$BD+$N2q5D\x1B(B\r\n"), std::string::npos)
        << smtp.messages()[0];
    EXPECT_EQ(pop3.connections(), 1);
    EXPECT_TRUE(pop3.sawLine("PASS secret"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
