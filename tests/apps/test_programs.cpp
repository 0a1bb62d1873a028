// The two programs as a user or a script runs them.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile_file.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace {

using hinagiku::testing::TempHome;

std::string binary(const char* name) {
    return hinagiku::testing::builtProgram(name);
}

using Outcome = hinagiku::testing::ProcessOutcome;
using hinagiku::testing::runProcess;

Outcome run(const std::vector<std::string>& argv) {
    return runProcess(argv);
}

pid_t start(const std::vector<std::string>& argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

TEST(Hinagikuctl, IniCommands) {
    TempHome home;
    const std::string ctl = binary("hinagikuctl");
    EXPECT_EQ(run({ctl, "ini", "set", "Form", "Top", "0x1F"}).status, 0);
    EXPECT_EQ(run({ctl, "ini", "set", "Memo_bun", "0", "買い物"}).status, 0);
    EXPECT_EQ(run({ctl, "ini", "get", "form", "TOP"}).out, "0x1F\n");
    EXPECT_EQ(run({ctl, "ini", "getint", "Form", "Top", "5"}).out, "31\n");
    EXPECT_EQ(run({ctl, "ini", "getint", "Form", "Left", "-3"}).out, "-3\n");
    EXPECT_EQ(run({ctl, "ini", "get", "Form", "Left", "dflt"}).out, "dflt\n");
    EXPECT_EQ(run({ctl, "ini", "get", "Memo_bun", "0"}).out, "買い物\n");
    EXPECT_EQ(run({ctl, "ini", "set", "Form", "Left", "7"}).status, 0);
    EXPECT_EQ(run({ctl, "ini", "keys", "Form"}).out, "Top\nLeft\n");
    EXPECT_EQ(run({ctl, "ini", "erase", "form"}).status, 0);
    EXPECT_EQ(run({ctl, "ini", "keys", "Form"}).out, "");
    EXPECT_EQ(home.readFile("hinagiku.ini"), "[Memo_bun]\r\n0=\x94\x83\x82\xa2\x95\xa8\r\n");

    // --home overrides the environment.
    TempHome other;
    EXPECT_EQ(run({ctl, "--home", home.path().string(), "ini", "get", "Memo_bun", "0"}).out,
              "買い物\n");
}

TEST(Hinagikuctl, WrongArgumentsAndIoErrors) {
    TempHome home;
    const std::string ctl = binary("hinagikuctl");
    for (const std::vector<std::string>& args : {std::vector<std::string>{ctl},
                                                 {ctl, "nosuch"},
                                                 {ctl, "ini"},
                                                 {ctl, "ini", "get", "A"},
                                                 {ctl, "ini", "getint", "A", "k", "x"},
                                                 {ctl, "--home"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage"), std::string::npos);
    }
    home.writeFile("file", "");  // a file where the home folder should be
    const Outcome blocked =
        run({ctl, "--home", (home.path() / "file").string(), "ini", "set", "A", "k", "v"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("file"), std::string::npos);
}

TEST(Program, FirstStartAndSecondCopy) {
    TempHome home;
    const std::string program = binary("hinagiku");
    const pid_t first = start({program});
    hinagiku::platform::ProfileFile ini(home.iniPath());
    ASSERT_TRUE(waitFor([&] { return ini.readText("Tokeiya", "Ver", "") == "Version 2.70"; },
                        std::chrono::seconds(20)));
    EXPECT_EQ(ini.readInt("Horiday", "Set", 0), 1);
    EXPECT_EQ(ini.readText("Calendar", "Directory", ""), (home.path() / "Schedule").string());
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "Schedule"));

    // A second copy ends at once, silently, and the first keeps running.
    const auto before = std::chrono::steady_clock::now();
    const Outcome second = run({program});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out + second.err, "");
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    int status = 0;
    EXPECT_EQ(waitpid(first, &status, WNOHANG), 0) << "the first copy ended";

    kill(first, SIGKILL);
    waitpid(first, &status, 0);
    // The lock went with the first copy: a new start runs again.
    const pid_t third = start({program});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(waitpid(third, &status, WNOHANG), 0) << "a new copy did not stay";
    kill(third, SIGKILL);
    waitpid(third, &status, 0);
}

}  // namespace
