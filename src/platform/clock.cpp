#include "platform/clock.h"

#include <ctime>

namespace hinagiku::platform {
namespace {

// 1970-01-01 as a date-time value.
constexpr double kUnixEpochDay = 25569.0;

}  // namespace

double SystemClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    const double localSeconds =
        static_cast<double>(ts.tv_sec) + static_cast<double>(local.tm_gmtoff);
    return kUnixEpochDay + (localSeconds + ts.tv_nsec / 1e9) / 86400.0;
}

int SystemClock::timeZoneBiasMinutes() const {
    const std::time_t t = std::time(nullptr);
    tm local{};
    localtime_r(&t, &local);
    return static_cast<int>(-local.tm_gmtoff / 60);
}

std::uint32_t SystemClock::uptimeMilliseconds() const {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    const auto ms = static_cast<unsigned long long>(ts.tv_sec) * 1000ull +
                    static_cast<unsigned long long>(ts.tv_nsec) / 1000000ull;
    return static_cast<std::uint32_t>(ms);
}

}  // namespace hinagiku::platform
