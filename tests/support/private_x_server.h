#pragma once

#include <sys/types.h>

#include <string>

namespace hinagiku::testing {

// A private X server (Xvfb on a display it picks itself) for a test that
// starts programs on it. The display is named only once a client could
// connect: a program started on it right away finds it ready.
class PrivateXServer {
  public:
    explicit PrivateXServer(const std::string& screen = "1280x800x24");
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // ":N", or empty when the server did not come up (see failure()).
    const std::string& display() const { return display_; }
    const std::string& failure() const { return failure_; }

  private:
    pid_t server_ = -1;
    std::string display_;
    std::string failure_;
};

}  // namespace hinagiku::testing
