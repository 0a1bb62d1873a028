#include "core/ui/password_gate.h"

#include "core/privacy_lock.h"
#include "core/ui/message_box.h"
#include "core/ui/password_window.h"

namespace hinagiku::core {
namespace {

bool& windowOpen() {
    static bool open = false;
    return open;
}

}  // namespace

bool askPassword(platform::Settings& settings, QWidget* parent) {
    // Timer ticks run inside the window's modal loop: the diary prompt must
    // not stack a second window on the first.
    if (windowOpen())
        return false;
    windowOpen() = true;
    bool matches = false;
    try {
        PasswordWindow window(settings, parent);
        window.exec();
        matches = passwordMatches(settings, window.typedPassword().toStdString());
    } catch (...) {
        windowOpen() = false;
        throw;
    }
    windowOpen() = false;
    if (!matches) {
        showMessage(parent,
                    {QMessageBox::Warning, fromUtf8View(kWrongPassword), QMessageBox::Cancel});
    }
    return matches;
}

bool runPrivacyCheck(platform::Settings& settings, const platform::Clock& clock,
                     GuardedFeature feature) {
    if (isGuarded(settings, feature) && !askPassword(settings))
        return false;
    recordAccess(settings, feature, clock.now());
    return true;
}

void installPasswordGate(platform::Settings& settings, const platform::Clock& clock) {
    setPrivacyGate([&settings, &clock](GuardedFeature feature) {
        return runPrivacyCheck(settings, clock, feature);
    });
}

}  // namespace hinagiku::core
