#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace hinagiku::platform {

namespace {

std::string safeName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        out += ok ? c : '_';
    }
    if (out.empty() || out.front() == '.')
        out.insert(out.begin(), '_');
    return out;
}

enum class Outcome { Held, Busy, NoFile };

// Opens and locks one candidate file. A file that is not ours (another user
// made it in a shared folder) or that is a link is refused: it could be used
// to keep us from starting or to make us touch someone else's file.
Outcome lockFile(const std::filesystem::path& path, int& fdOut) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return Outcome::NoFile;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Outcome::NoFile;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Outcome::Busy : Outcome::NoFile;
    }
    // The holder's process id, for a person looking into the folder.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        const ssize_t written = ::pwrite(fd, pid.data(), pid.size(), 0);
        (void)written;
    }
    fdOut = fd;
    return Outcome::Held;
}

}  // namespace

std::filesystem::path SingleInstance::lockPath(std::string_view name) {
    const std::string file = safeName(name);
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
        std::error_code ec;
        if (std::filesystem::is_directory(runtime, ec))
            return std::filesystem::path(runtime) / (file + ".lock");
    }
    return std::filesystem::path("/tmp") / (file + "-" + std::to_string(::geteuid()) + ".lock");
}

std::optional<SingleInstance> SingleInstance::tryAcquire(std::string_view name) {
    int fd = -1;
    switch (lockFile(lockPath(name), fd)) {
        case Outcome::Held:
            return SingleInstance(fd);
        case Outcome::Busy:
            return std::nullopt;
        case Outcome::NoFile:
            break;
    }
    // The usual place is unusable (a stranger's file in /tmp, a read-only
    // runtime folder): the home folder is ours alone.
    if (const char* home = std::getenv("HOME"); home != nullptr && *home) {
        const auto path = std::filesystem::path(home) /
                          ("." + safeName(name) + "-" + std::to_string(::geteuid()) + ".lock");
        switch (lockFile(path, fd)) {
            case Outcome::Held:
                return SingleInstance(fd);
            case Outcome::Busy:
                return std::nullopt;
            case Outcome::NoFile:
                break;
        }
    }
    return SingleInstance(-1);
}

SingleInstance::SingleInstance(SingleInstance&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

SingleInstance& SingleInstance::operator=(SingleInstance&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

SingleInstance::~SingleInstance() {
    // Closing the only descriptor releases the lock. The file stays: removing
    // it would race with a copy that is just opening it.
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace hinagiku::platform
