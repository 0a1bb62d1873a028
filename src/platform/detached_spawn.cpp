#include "platform/detached_spawn.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace hinagiku::platform {

std::string spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder) {
    // Everything the child needs is prepared before the fork: after it, only
    // async-signal-safe calls.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();

    int report[2];  // the grandchild writes errno here when exec fails
    if (::pipe2(report, O_CLOEXEC) != 0)
        return std::strerror(errno);
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return std::strerror(error);
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 1 : 0);
        int error = 0;
        if (folder != nullptr && ::chdir(folder) != 0) {
            error = errno;
        } else {
            const int null = ::open("/dev/null", O_RDONLY);
            if (null >= 0) {
                ::dup2(null, STDIN_FILENO);
                if (null != STDIN_FILENO)
                    ::close(null);
            }
            ::execv(argv[0], argv.data());
            error = errno;
        }
        [[maybe_unused]] const auto written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof error))
        return std::strerror(error);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "fork failed";
    return {};
}

}  // namespace hinagiku::platform
