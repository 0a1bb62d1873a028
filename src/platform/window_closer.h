#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

// Asks other programs' windows to close, as a user clicking their close box
// would: the program may still ask to save or refuse.
class WindowCloser {
  public:
    virtual ~WindowCloser() = default;
    // Finds the first top-level window whose title contains `text` (bytes of
    // UTF-8, case-sensitive) and asks it to close. True when a window was
    // found and asked; false when none matched, `text` is empty or there is
    // no window system to ask.
    virtual bool closeWindowByTitle(std::string_view text) = 0;
};

// The closer every window uses: X11WindowCloser on the environment's
// display unless another one (a test double) is installed; nullptr returns
// to the system's. Use from the user-interface thread.
WindowCloser& windowCloser();
void setWindowCloser(WindowCloser* closer);

// Index of the first title that contains `text`; -1 when none does or
// `text` is empty.
int firstTitleContaining(const std::vector<std::string>& titles, std::string_view text);

}  // namespace hinagiku::platform
