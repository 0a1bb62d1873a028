#pragma once

#include <chrono>

namespace hinagiku::platform {

// The process-wide flag that keeps JPEG decoding from being entered twice:
// on the one user-interface thread a second decode can only start from an
// event loop that runs inside the first (an error question, a wait), so the
// second waits a bounded time, letting events run so the first can finish,
// and then gives up rather than spin.
class JpegBusyGuard {
  public:
    // Sets the flag. While another guard holds it, waits up to `timeout`
    // processing the thread's events; an empty guard (owns() false) when the
    // flag stayed set.
    static JpegBusyGuard acquire(
        std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    static bool isBusy();

    JpegBusyGuard() = default;
    ~JpegBusyGuard();
    JpegBusyGuard(JpegBusyGuard&& other) noexcept;
    JpegBusyGuard& operator=(JpegBusyGuard&& other) noexcept;
    JpegBusyGuard(const JpegBusyGuard&) = delete;
    JpegBusyGuard& operator=(const JpegBusyGuard&) = delete;

    bool owns() const { return owns_; }
    explicit operator bool() const { return owns_; }
    // Clears the flag now (when this guard set it).
    void release();

  private:
    bool owns_ = false;
};

}  // namespace hinagiku::platform
