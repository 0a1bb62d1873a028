#include "platform/hot_key.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <sys/wait.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/manual_hot_key.h"
#include "test_window_closer_xvfb.h"

namespace hinagiku::platform {
namespace {

using testing::XvfbServer;

// Counts activations while the event loop runs.
struct Presses {
    explicit Presses(HotKey& key) {
        QObject::connect(&key, &HotKey::activated, [this] { ++count; });
    }
    // Runs the event loop until `expected` presses arrived or a time passed.
    bool waitFor(int expected, int milliseconds = 3000) {
        QElapsedTimer timer;
        timer.start();
        while (count < expected && timer.elapsed() < milliseconds) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return count >= expected;
    }
    // Lets events run for a while, for checks that nothing arrives.
    void settle(int milliseconds = 500) { waitFor(1'000'000, milliseconds); }
    int count = 0;
};

TEST(ManualHotKey, DeliversPressesAsActivations) {
    ManualHotKey key;
    Presses presses(key);
    key.press();
    key.press();
    EXPECT_EQ(presses.count, 2);
    EXPECT_TRUE(key.isRegistered());
}

TEST(X11HotKey, IsInertWithoutADisplay) {
    const char* saved = std::getenv("DISPLAY");
    const std::optional<std::string> previous =
        saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
    ::unsetenv("DISPLAY");
    auto key = registerHotKey(HotKeyModifier::Super);
    EXPECT_FALSE(key->isRegistered());
    if (previous)
        ::setenv("DISPLAY", previous->c_str(), 1);
}

class X11HotKeyOnXvfb : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::onPath("Xvfb"))
            GTEST_SKIP() << "Xvfb is not installed";
        if (!testing::onPath("xdotool"))
            GTEST_SKIP() << "xdotool is not installed";
        server_.emplace();
        if (server_->display().empty())
            GTEST_SKIP() << "Xvfb did not start";
    }

    // Types keys on the private display, as a user would.
    void type(const std::vector<std::string>& keys) {
        std::vector<std::string> args{"xdotool", "key"};
        args.insert(args.end(), keys.begin(), keys.end());
        pid_t pid = server_->run(args);
        ASSERT_GT(pid, 0);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::optional<XvfbServer> server_;
};

TEST_F(X11HotKeyOnXvfb, SuperSpaceActivatesWhateverTheLockKeys) {
    auto key = registerHotKey(HotKeyModifier::Super, nullptr, server_->display());
    ASSERT_TRUE(key->isRegistered());
    Presses presses(*key);

    type({"super+space"});
    EXPECT_TRUE(presses.waitFor(1));

    type({"Caps_Lock", "super+space", "Caps_Lock"});
    EXPECT_TRUE(presses.waitFor(2));
    type({"Num_Lock", "super+space", "Caps_Lock", "super+space", "Caps_Lock", "Num_Lock"});
    EXPECT_TRUE(presses.waitFor(4));

    // Other combinations are not the hot key.
    type({"space", "ctrl+space", "shift+super+space"});
    presses.settle();
    EXPECT_EQ(presses.count, 4);
}

TEST_F(X11HotKeyOnXvfb, ControlSpaceIsTheOtherChoice) {
    auto key = registerHotKey(HotKeyModifier::Control, nullptr, server_->display());
    ASSERT_TRUE(key->isRegistered());
    Presses presses(*key);
    type({"super+space", "ctrl+space"});
    EXPECT_TRUE(presses.waitFor(1));
    presses.settle();
    EXPECT_EQ(presses.count, 1);
}

TEST_F(X11HotKeyOnXvfb, AKeyHeldElsewhereIsNotRegisteredAndTheKeyIsFreedOnDestruction) {
    auto first = registerHotKey(HotKeyModifier::Super, nullptr, server_->display());
    ASSERT_TRUE(first->isRegistered());
    auto second = registerHotKey(HotKeyModifier::Super, nullptr, server_->display());
    EXPECT_FALSE(second->isRegistered());

    Presses firstPresses(*first);
    type({"super+space"});
    EXPECT_TRUE(firstPresses.waitFor(1));

    second.reset();
    first.reset();
    // The server frees a departed client's grabs as it processes the
    // disconnect, which may trail the ungrab round trip by a moment.
    auto again = registerHotKey(HotKeyModifier::Super, nullptr, server_->display());
    for (int i = 0; i < 20 && !again->isRegistered(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        again = registerHotKey(HotKeyModifier::Super, nullptr, server_->display());
    }
    EXPECT_TRUE(again->isRegistered());
}

}  // namespace
}  // namespace hinagiku::platform

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
