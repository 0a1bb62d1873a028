#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hinagiku::platform {

// Proof that this process is the only running copy of the program for the
// current user. Held for the life of the object (normally the process): an
// advisory lock on a file that the kernel releases when the process ends in
// any way, a crash or kill -9 included. The lock is not inherited by the
// programs the process starts.
class SingleInstance {
  public:
    // Takes the lock called `name` (letters, digits, '-', '_' and '.'; other
    // characters are replaced) or returns nothing when another process holds
    // it. When no lock file can be made at all the program is not kept from
    // running: the object then holds nothing (held() is false).
    static std::optional<SingleInstance> tryAcquire(std::string_view name);

    // The lock file used for `name`: "<name>.lock" in $XDG_RUNTIME_DIR when
    // that is an existing folder, "/tmp/<name>-<uid>.lock" otherwise.
    static std::filesystem::path lockPath(std::string_view name);

    SingleInstance(SingleInstance&& other) noexcept;
    SingleInstance& operator=(SingleInstance&& other) noexcept;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    bool held() const { return fd_ >= 0; }

  private:
    explicit SingleInstance(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace hinagiku::platform
