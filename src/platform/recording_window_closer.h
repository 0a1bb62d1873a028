#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_closer.h"

namespace hinagiku::platform {

// A WindowCloser over a list of pretend window titles, for tests: a closed
// window leaves the list, and every request is remembered.
class RecordingWindowCloser final : public WindowCloser {
  public:
    explicit RecordingWindowCloser(std::vector<std::string> titles = {})
        : titles_(std::move(titles)) {}

    bool closeWindowByTitle(std::string_view text) override {
        requests_.emplace_back(text);
        if (onRequest_)
            onRequest_();
        const int index = firstTitleContaining(titles_, text);
        if (index < 0)
            return false;
        closed_.push_back(titles_[static_cast<std::size_t>(index)]);
        titles_.erase(titles_.begin() + index);
        return true;
    }

    // Called at every request, before it is answered (to see what ran first).
    void setOnRequest(std::function<void()> hook) { onRequest_ = std::move(hook); }

    const std::vector<std::string>& titles() const { return titles_; }
    const std::vector<std::string>& requests() const { return requests_; }
    const std::vector<std::string>& closed() const { return closed_; }

  private:
    std::vector<std::string> titles_;
    std::vector<std::string> requests_;
    std::vector<std::string> closed_;
    std::function<void()> onRequest_;
};

}  // namespace hinagiku::platform
