#include "platform/x11_window_closer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/recording_window_closer.h"
#include "platform/x11_connection.h"
#include "test_window_closer_xvfb.h"

namespace hinagiku::platform {
namespace {

using testing::XvfbServer;

TEST(FirstTitleContaining, TakesTheFirstMatchCaseSensitively) {
    const std::vector<std::string> titles{"無題 - メモ帳", "Report.txt - Editor",
                                          "report - Editor"};
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"Editor", 1}, {"report", 2}, {"メモ帳", 0}, {"REPORT", -1}, {"", -1}, {"Calculator", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(firstTitleContaining(titles, c.text), c.expected) << c.text;
    }
}

TEST(RecordingWindowCloser, ClosesOnlyTheFirstMatchingWindow) {
    RecordingWindowCloser closer({"a - Editor", "b - Editor"});
    EXPECT_TRUE(closer.closeWindowByTitle("Editor"));
    EXPECT_EQ(closer.titles(), std::vector<std::string>{"b - Editor"});
    EXPECT_FALSE(closer.closeWindowByTitle("Viewer"));
    EXPECT_EQ(closer.requests().size(), 2u);
}

TEST(X11WindowCloser, DoesNothingWithoutADisplay) {
    const char* saved = std::getenv("DISPLAY");
    const std::optional<std::string> previous =
        saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
    ::unsetenv("DISPLAY");
    X11WindowCloser closer;
    EXPECT_FALSE(closer.closeWindowByTitle("anything"));
    if (previous)
        ::setenv("DISPLAY", previous->c_str(), 1);
}

bool exited(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == pid;
}

std::vector<std::string> clientTitles(X11Connection& x) {
    std::vector<std::string> titles;
    for (const auto window : x.values(x.root(), x.atom("_NET_CLIENT_LIST"))) {
        titles.push_back(x.title(window));
    }
    return titles;
}

// A window of the test's own, to see which requests reach it.
xcb_window_t createWindow(X11Connection& x, const std::string& utf8Title, bool takesDelete) {
    xcb_connection_t* c = x.get();
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, x.root(), 10, 10, 100, 60, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen()->root_visual, 0, nullptr);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, x.atom("_NET_WM_NAME"),
                        x.atom("UTF8_STRING"), 8, static_cast<std::uint32_t>(utf8Title.size()),
                        utf8Title.data());
    if (takesDelete) {
        const xcb_atom_t deleteWindow = x.atom("WM_DELETE_WINDOW");
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, x.atom("WM_PROTOCOLS"), XCB_ATOM_ATOM,
                            32, 1, &deleteWindow);
    }
    xcb_map_window(c, window);
    xcb_flush(c);
    return window;
}

// Whether a WM_DELETE_WINDOW request reaches `window` within a few seconds.
bool receivesDelete(X11Connection& x, xcb_window_t window) {
    const xcb_atom_t protocols = x.atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = x.atom("WM_DELETE_WINDOW");
    bool received = false;
    XvfbServer::waitFor(
        [&] {
            while (xcb_generic_event_t* event = xcb_poll_for_event(x.get())) {
                if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                    const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                    if (message->window == window && message->type == protocols &&
                        message->data.data32[0] == deleteWindow) {
                        received = true;
                    }
                }
                std::free(event);
            }
            return received;
        },
        std::chrono::seconds(3));
    return received;
}

class X11WindowCloserOnXvfb : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::onPath("Xvfb"))
            GTEST_SKIP() << "Xvfb is not installed";
        server_.emplace();
        if (server_->display().empty())
            GTEST_SKIP() << "Xvfb did not start";
    }
    std::optional<XvfbServer> server_;
};

TEST_F(X11WindowCloserOnXvfb, ClosesTheFirstOfTwoMatchingWindowsThroughTheWindowManager) {
    if (!testing::onPath("openbox") || !testing::onPath("xmessage")) {
        GTEST_SKIP() << "openbox or xmessage is not installed";
    }
    ASSERT_TRUE(server_->startWindowManager());
    X11Connection x(server_->display());
    ASSERT_TRUE(x.isOpen());
    pid_t alpha = server_->run({"xmessage", "-title", "Alpha - Hinagiku Editor", "alpha"});
    ASSERT_TRUE(XvfbServer::waitFor([&] { return clientTitles(x).size() == 1; }));
    pid_t beta = server_->run({"xmessage", "-title", "Beta - Hinagiku Editor", "beta"});
    ASSERT_TRUE(XvfbServer::waitFor([&] { return clientTitles(x).size() == 2; }));

    X11WindowCloser closer(server_->display());
    EXPECT_FALSE(closer.closeWindowByTitle("hinagiku editor"));  // case matters
    EXPECT_TRUE(closer.closeWindowByTitle("Hinagiku Editor"));
    EXPECT_TRUE(XvfbServer::waitFor([&] { return exited(alpha); }));
    EXPECT_FALSE(exited(beta));
    EXPECT_EQ(clientTitles(x), std::vector<std::string>{"Beta - Hinagiku Editor"});

    EXPECT_TRUE(closer.closeWindowByTitle("Beta"));
    EXPECT_TRUE(XvfbServer::waitFor([&] { return exited(beta); }));
    EXPECT_FALSE(closer.closeWindowByTitle("Hinagiku"));
}

TEST_F(X11WindowCloserOnXvfb, MatchesUtf8TitlesUnderTheWindowManager) {
    if (!testing::onPath("openbox"))
        GTEST_SKIP() << "openbox is not installed";
    ASSERT_TRUE(server_->startWindowManager());
    X11Connection x(server_->display());
    ASSERT_TRUE(x.isOpen());
    const xcb_window_t window = createWindow(x, "2024年の日記 - エディタ", true);
    ASSERT_TRUE(XvfbServer::waitFor([&] { return clientTitles(x).size() == 1; }));

    X11WindowCloser closer(server_->display());
    EXPECT_TRUE(closer.closeWindowByTitle("日記"));
    EXPECT_TRUE(receivesDelete(x, window));
}

TEST_F(X11WindowCloserOnXvfb, AsksTheWindowItselfWithoutAWindowManager) {
    X11Connection x(server_->display());
    ASSERT_TRUE(x.isOpen());
    const xcb_window_t stubborn = createWindow(x, "Old Tool", false);
    const xcb_window_t polite = createWindow(x, "New Tool", true);
    (void)stubborn;

    X11WindowCloser closer(server_->display());
    // The topmost match is the one made last.
    EXPECT_TRUE(closer.closeWindowByTitle("Tool"));
    EXPECT_TRUE(receivesDelete(x, polite));
    // A window that takes no close request cannot be asked.
    EXPECT_FALSE(closer.closeWindowByTitle("Old"));
    EXPECT_FALSE(closer.closeWindowByTitle(""));
}

}  // namespace
}  // namespace hinagiku::platform
