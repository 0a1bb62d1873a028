#include "platform/window_closer.h"

#include "platform/x11_window_closer.h"

namespace hinagiku::platform {
namespace {
WindowCloser* installedCloser = nullptr;
}

WindowCloser& windowCloser() {
    if (installedCloser != nullptr)
        return *installedCloser;
    static X11WindowCloser system;
    return system;
}

void setWindowCloser(WindowCloser* closer) {
    installedCloser = closer;
}

int firstTitleContaining(const std::vector<std::string>& titles, std::string_view text) {
    if (text.empty())
        return -1;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (titles[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace hinagiku::platform
