#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace hinagiku::testing {

// A clock the test sets and advances by hand.
class FakeClock final : public platform::Clock {
  public:
    explicit FakeClock(double now = 0.0, int biasMinutes = -540) : now_(now), bias_(biasMinutes) {}

    double now() const override { return now_; }
    int timeZoneBiasMinutes() const override { return bias_; }
    std::uint32_t uptimeMilliseconds() const override { return uptime_; }

    void set(double now) { now_ = now; }
    void advanceSeconds(double seconds) {
        now_ += seconds / 86400.0;
        uptime_ += static_cast<std::uint32_t>(seconds * 1000.0);
    }
    void setBias(int minutes) { bias_ = minutes; }
    void setUptime(std::uint32_t ms) { uptime_ = ms; }

  private:
    double now_;
    int bias_;
    std::uint32_t uptime_ = 0;
};

}  // namespace hinagiku::testing
