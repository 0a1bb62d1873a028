#include "support/private_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/x11_connection.h"

namespace hinagiku::testing {
namespace {

constexpr auto kStartLimit = std::chrono::seconds(20);

bool exited(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

}  // namespace

PrivateXServer::PrivateXServer(const std::string& screen) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure_ = "no pipe for Xvfb";
        return;
    }
    server_ = fork();
    if (server_ == 0) {
        // The display number comes on descriptor 3; nothing else of the test leaks in.
        dup2(fds[1], 3);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 2);
        // -noreset: by default the server resets when its last client leaves,
        // refusing the next connection for a moment (a probe, or a program's
        // short early connection, would leave the next client refused).
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (server_ > 0 && std::chrono::steady_clock::now() < deadline) {
        if (poll(&p, 1, 200) <= 0)
            continue;
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number.push_back(c);
    }
    close(fds[0]);
    if (number.empty()) {
        failure_ = "Xvfb did not name a display";
        return;
    }
    // Named is not yet proven reachable: connect as a client would.
    while (std::chrono::steady_clock::now() < deadline) {
        if (exited(server_)) {
            server_ = -1;
            failure_ = "Xvfb on :" + number + " ended";
            return;
        }
        if (platform::X11Connection(":" + number).isOpen()) {
            display_ = ":" + number;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    failure_ = "Xvfb on :" + number + " took no client";
}

PrivateXServer::~PrivateXServer() {
    if (server_ <= 0)
        return;
    kill(server_, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (exited(server_))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(server_, SIGKILL);
    waitpid(server_, nullptr, 0);
}

}  // namespace hinagiku::testing
