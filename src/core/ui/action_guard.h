#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

#include "core/ui/application.h"

namespace hinagiku::core {

// Runs one user action to its end: an error it raises ends the action and is
// shown by the general error report, so that no exception ever unwinds
// through Qt's frames (Qt leaves that undefined). Returns whether the action
// ran without an error.
template <typename F>
bool runGuarded(F&& action) noexcept {
    try {
        std::forward<F>(action)();
        return true;
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

// A slot that runs `F` through runGuarded. Callable with exactly the
// arguments F takes, so Qt's connect drops the signal's extra arguments as
// it does for F itself.
template <typename F>
class GuardedSlot {
  public:
    explicit GuardedSlot(F f) : f_(std::move(f)) {}

    template <typename... A>
    requires std::is_invocable_v<F&, A&&...>
    void operator()(A&&... args) {
        runGuarded([&] { std::invoke(f_, std::forward<A>(args)...); });
    }

  private:
    F f_;
};

// connect(sender, &Sender::signal, this, guard([this] { ... }));
// connect(sender, &Sender::signal, this, guard(this, &Window::action));
template <typename F>
GuardedSlot<F> guard(F f) {
    return GuardedSlot<F>(std::move(f));
}
template <typename Object, typename Method>
requires std::is_member_function_pointer_v<Method>
auto guard(Object* object, Method method) {
    return guard([object, method](auto&&... args) -> decltype(std::invoke(
                                                      method, object,
                                                      std::forward<decltype(args)>(args)...)) {
        return std::invoke(method, object, std::forward<decltype(args)>(args)...);
    });
}

}  // namespace hinagiku::core
