#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::mail {

// Assembles server reply lines from whatever pieces the stream arrives in.
// A line ends at LF (a CR before it is dropped). A line longer than
// kMaxLineBytes keeps its first kMaxLineBytes bytes and the rest of it is
// dropped, so a server that never ends its line cannot grow memory.
class ReplyLineReader {
  public:
    static constexpr std::size_t kMaxLineBytes = 4096;

    // Appends every line completed by `bytes` to `lines`.
    void feed(std::string_view bytes, std::vector<std::string>& lines);
    void reset();
    // Bytes held for the unfinished line (at most kMaxLineBytes).
    std::size_t pendingBytes() const { return current_.size(); }

  private:
    std::string current_;
    bool cut_ = false;
};

}  // namespace hinagiku::mail
