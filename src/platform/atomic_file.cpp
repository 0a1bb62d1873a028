#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace hinagiku::platform {
namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const char* what, int error) {
    throw IoError(std::string("\"") + path.string() + "\": " + what + ": " + std::strerror(error));
}

// Closes a descriptor on every path out of a function.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

std::filesystem::path resolveLinks(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path target = path;
    // Follow a chain of links so that the link itself survives the rename.
    for (int depth = 0; depth < 16 && std::filesystem::is_symlink(target, ec); ++depth) {
        const auto next = std::filesystem::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::optional<std::filesystem::perms> limit) {
    const std::filesystem::path target = resolveLinks(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string tempName = ".";
    tempName.append(target.filename().string()).append(".XXXXXX");
    std::string temp = (folder / tempName).string();

    Descriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        fail(target, "cannot create a temporary file", errno);
    bool renamed = false;
    struct Cleanup {
        const std::string& name;
        const bool& done;
        ~Cleanup() {
            if (!done)
                ::unlink(name.c_str());
        }
    } cleanup{temp, renamed};

    mode_t mode = 0644;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (limit)
        mode &= static_cast<mode_t>(*limit) & 07777;
    // mkstemp made the file 0600; a limit only ever narrows that further.
    ::fchmod(fd.get(), mode);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd.get(), data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(target, "cannot write", errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fdatasync(fd.get()) != 0)
        fail(target, "cannot flush", errno);
    if (::close(fd.release()) != 0)
        fail(target, "cannot close", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        fail(target, "cannot replace", errno);
    // The data were flushed before the rename, so after a power loss the
    // name holds the old or the new content, never a cut one; syncing the
    // folder as well would only settle which, at several times the cost.
    renamed = true;
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace hinagiku::platform
