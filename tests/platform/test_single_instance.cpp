#include "platform/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace hinagiku::platform {
namespace {

namespace fs = std::filesystem;

// Runs a program with its standard output on a pipe.
class Child {
  public:
    explicit Child(const std::vector<std::string>& args) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
        if (rc != 0)
            throw std::runtime_error("spawn " + args[0]);
    }
    ~Child() {
        kill9();
        close(out_);
    }
    // The first line the child prints ("" when it ends without one).
    std::string firstLine() {
        std::string line;
        char c;
        while (read(out_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    void kill9() {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
};

std::string holder(const std::string& name) {
    return Child({HOLDER_PROGRAM, name}).firstLine();
}

class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "hinagiku-lock-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        runtime_ = pattern;
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            oldRuntime_ = old;
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        name_ = "hinagiku-test-" + std::to_string(getpid());
    }
    void TearDown() override {
        if (oldRuntime_)
            setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(runtime_);
    }
    fs::path runtime_;
    std::optional<std::string> oldRuntime_;
    std::string name_;
};

TEST_F(SingleInstanceTest, AnotherProcessFindsTheLockTakenUntilTheHolderDies) {
    {
        auto mine = SingleInstance::tryAcquire(name_);
        ASSERT_TRUE(mine && mine->held());
        EXPECT_EQ(holder(name_), "busy");
    }
    // Released with the object: a second process gets it now.
    Child first({HOLDER_PROGRAM, name_});
    ASSERT_EQ(first.firstLine(), "held");
    EXPECT_FALSE(SingleInstance::tryAcquire(name_));
    EXPECT_EQ(holder(name_), "busy");
    // A killed holder runs no clean-up; the kernel frees the lock anyway.
    first.kill9();
    auto after = SingleInstance::tryAcquire(name_);
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->held());
}

TEST_F(SingleInstanceTest, SecondLockInTheSameProcessFailsAndMovingKeepsTheLock) {
    auto first = SingleInstance::tryAcquire(name_);
    ASSERT_TRUE(first && first->held());
    EXPECT_FALSE(SingleInstance::tryAcquire(name_));
    SingleInstance moved = std::move(*first);
    first.reset();
    EXPECT_TRUE(moved.held());
    EXPECT_FALSE(SingleInstance::tryAcquire(name_));
    // Different names do not block each other.
    EXPECT_TRUE(SingleInstance::tryAcquire(name_ + "-other"));
}

TEST_F(SingleInstanceTest, ProgramsStartedByTheHolderDoNotKeepTheLock) {
    auto lock = SingleInstance::tryAcquire(name_);
    ASSERT_TRUE(lock && lock->held());
    Child program({"/bin/sh", "-c", "echo started; exec sleep 30"});
    ASSERT_EQ(program.firstLine(), "started");
    lock.reset();
    EXPECT_TRUE(SingleInstance::tryAcquire(name_));
}

TEST_F(SingleInstanceTest, LockPathIsPerUserAndNamesAreMadeSafe) {
    EXPECT_EQ(SingleInstance::lockPath("Hinagiku"), runtime_ / "Hinagiku.lock");
    EXPECT_EQ(SingleInstance::lockPath("a/../b c"), runtime_ / "a_.._b_c.lock");
    EXPECT_EQ(SingleInstance::lockPath(".hidden"), runtime_ / "_.hidden.lock");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::lockPath("Hinagiku"),
              fs::path("/tmp") / ("Hinagiku-" + std::to_string(geteuid()) + ".lock"));
    setenv("XDG_RUNTIME_DIR", (runtime_ / "missing").c_str(), 1);
    EXPECT_EQ(SingleInstance::lockPath("Hinagiku").parent_path(), fs::path("/tmp"));
}

TEST_F(SingleInstanceTest, AStrangersFileOrALinkIsNotUsedAndTheHomeFolderServesInstead) {
    const fs::path home = runtime_ / "home";
    fs::create_directory(home);
    std::optional<std::string> oldHome;
    if (const char* h = std::getenv("HOME"))
        oldHome = h;
    setenv("HOME", home.c_str(), 1);

    // A symbolic link planted where the lock file goes.
    const fs::path target = runtime_ / "victim";
    { std::ofstream(target) << "keep"; }
    fs::create_symlink(target, SingleInstance::lockPath(name_));
    {
        auto lock = SingleInstance::tryAcquire(name_);
        ASSERT_TRUE(lock);
        EXPECT_TRUE(lock->held());
        EXPECT_EQ(holder(name_), "busy");
    }
    std::ifstream in(target);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "keep");

    if (geteuid() == 0) {
        // Someone else's file (only root can make one for the test).
        const std::string other = name_ + "-stranger";
        { std::ofstream(SingleInstance::lockPath(other)) << ""; }
        ASSERT_EQ(chown(SingleInstance::lockPath(other).c_str(), 54321, 54321), 0);
        auto lock = SingleInstance::tryAcquire(other);
        ASSERT_TRUE(lock);
        EXPECT_TRUE(lock->held());
        EXPECT_EQ(holder(other), "busy");
    }
    if (oldHome)
        setenv("HOME", oldHome->c_str(), 1);
    else
        unsetenv("HOME");
}

}  // namespace
}  // namespace hinagiku::platform
