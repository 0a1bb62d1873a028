#include "platform/jpeg_busy_flag.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <thread>
#include <utility>

namespace hinagiku::platform {
namespace {
std::atomic<bool> busy{false};
}

JpegBusyGuard JpegBusyGuard::acquire(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    JpegBusyGuard guard;
    while (true) {
        bool expected = false;
        if (busy.compare_exchange_strong(expected, true)) {
            guard.owns_ = true;
            return guard;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return guard;
        QCoreApplication* app = QCoreApplication::instance();
        if (app != nullptr && QThread::currentThread() == app->thread()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool JpegBusyGuard::isBusy() {
    return busy.load();
}

JpegBusyGuard::~JpegBusyGuard() {
    release();
}

JpegBusyGuard::JpegBusyGuard(JpegBusyGuard&& other) noexcept
    : owns_(std::exchange(other.owns_, false)) {}

JpegBusyGuard& JpegBusyGuard::operator=(JpegBusyGuard&& other) noexcept {
    if (this != &other) {
        release();
        owns_ = std::exchange(other.owns_, false);
    }
    return *this;
}

void JpegBusyGuard::release() {
    if (owns_) {
        owns_ = false;
        busy.store(false);
    }
}

}  // namespace hinagiku::platform
