#include "support/process_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <thread>

namespace hinagiku::testing {

ProcessOutcome runProcess(const std::vector<std::string>& argv) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        std::abort();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    ProcessOutcome r;
    auto drain = [](int fd, std::string& into) {
        char buffer[4096];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0)
            into.append(buffer, static_cast<size_t>(n));
        close(fd);
    };
    // Both pipes drained at once, so neither can fill up and stall the child.
    std::thread errReader(drain, err[0], std::ref(r.err));
    drain(out[0], r.out);
    errReader.join();
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

std::string builtProgram(const std::string& name) {
    const char* build = std::getenv("HINAGIKU_BUILD_DIR");
    return std::string(build ? build : ".") + "/apps/" + name + "/" + name;
}

}  // namespace hinagiku::testing
