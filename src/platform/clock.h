#pragma once

#include <cstdint>

namespace hinagiku::platform {

// Wall clock and uptime, injectable so that tests can drive time.
class Clock {
  public:
    virtual ~Clock() = default;
    // Local time now as a date-time value (days since 1899-12-30).
    virtual double now() const = 0;
    // Minutes to add to local time to get universal time (Japan: -540).
    virtual int timeZoneBiasMinutes() const = 0;
    // Milliseconds since the system started (wraps like a 32-bit counter).
    virtual std::uint32_t uptimeMilliseconds() const = 0;
};

// The system's clock.
class SystemClock final : public Clock {
  public:
    double now() const override;
    int timeZoneBiasMinutes() const override;
    std::uint32_t uptimeMilliseconds() const override;
};

}  // namespace hinagiku::platform
