#pragma once

#include <functional>

namespace hinagiku::core {

// The features behind the privacy lock. Their tool hooks pass the gate
// before anything else (before the data-folder check), so a refused
// password reads and creates nothing.
enum class GuardedFeature { Diary, Telephone, Period };

// Answers whether the user may open a guarded feature now (asking for the
// password and recording the access when the lock is on).
using PrivacyGate = std::function<bool(GuardedFeature)>;

// Sets the gate; an empty function removes it.
void setPrivacyGate(PrivacyGate gate);

// True while no gate is set.
bool passPrivacyGate(GuardedFeature feature);

}  // namespace hinagiku::core
