#pragma once

#include <QWidget>

#include "core/ui/privacy_gate.h"
#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::core {

// Runs the password window modally and compares its "Password:" field with
// the stored password; a mismatch (a cancelled window included) shows
// "パスワードが違います。" and gives false. While one password window is open
// a second request is refused at once.
bool askPassword(platform::Settings& settings, QWidget* parent = nullptr);

// The check before a guarded feature opens: the password when the lock
// guards it, then the access time, guarded or not.
bool runPrivacyCheck(platform::Settings& settings, const platform::Clock& clock,
                     GuardedFeature feature);

// Sets the privacy gate to runPrivacyCheck; both must outlive the program's windows.
void installPasswordGate(platform::Settings& settings, const platform::Clock& clock);

}  // namespace hinagiku::core
