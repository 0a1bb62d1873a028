#pragma once

// A private X server (Xvfb) for one test, optionally with the openbox window
// manager, started on a display number the server picks itself.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11_connection.h"
#include "support/private_x_server.h"

extern char** environ;

namespace hinagiku::testing {

inline bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string list = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string candidate = list.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

class XvfbServer {
  public:
    XvfbServer() : server_("640x480x24") {}

    ~XvfbServer() { stop(windowManager_); }

    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Empty when the server could not be started.
    const std::string& display() const { return server_.display(); }

    // Starts openbox and waits until it manages the screen.
    bool startWindowManager() {
        if (display().empty() || !onPath("openbox"))
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        windowManager_ = spawn({"openbox", "--sm-disable"}, &actions, {"DISPLAY=" + display()});
        posix_spawn_file_actions_destroy(&actions);
        platform::X11Connection x(display());
        if (!x.isOpen())
            return false;
        const xcb_atom_t check = x.atom("_NET_SUPPORTING_WM_CHECK");
        if (!waitFor([&] { return !x.values(x.root(), check).empty(); }))
            return false;
        // openbox announces itself before it handles map requests: it is
        // ready once a probe window shows up in its client list (mapped
        // again until it does).
        const xcb_atom_t clients = x.atom("_NET_CLIENT_LIST");
        const xcb_window_t probe = xcb_generate_id(x.get());
        xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, probe, x.root(), 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen()->root_visual, 0, nullptr);
        const bool managed = waitFor([&] {
            xcb_unmap_window(x.get(), probe);
            xcb_map_window(x.get(), probe);
            xcb_flush(x.get());
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return !x.values(x.root(), clients).empty();
        });
        xcb_destroy_window(x.get(), probe);
        xcb_flush(x.get());
        return managed && waitFor([&] { return x.values(x.root(), clients).empty(); });
    }

    // Runs a program on this display; returns its process id.
    pid_t run(const std::vector<std::string>& args) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const pid_t pid = spawn(args, &actions, {"DISPLAY=" + display()});
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    template <typename Condition>
    static bool waitFor(Condition condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return condition();
    }

    static void stop(pid_t& pid) {
        if (pid <= 0)
            return;
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
    }

  private:
    static pid_t spawn(const std::vector<std::string>& args, posix_spawn_file_actions_t* actions,
                       const std::vector<std::string>& extraEnvironment) {
        std::vector<std::string> environment;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            bool replaced = false;
            for (const auto& extra : extraEnvironment) {
                replaced = replaced || entry.substr(0, entry.find('=') + 1) ==
                                           extra.substr(0, extra.find('=') + 1);
            }
            if (!replaced)
                environment.push_back(entry);
        }
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const auto& e : environment)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0)
            return -1;
        return pid;
    }

    PrivateXServer server_;
    pid_t windowManager_ = -1;
};

}  // namespace hinagiku::testing
