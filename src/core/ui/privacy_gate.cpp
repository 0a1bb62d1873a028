#include "core/ui/privacy_gate.h"

#include <utility>

namespace hinagiku::core {
namespace {

PrivacyGate& gate() {
    static PrivacyGate instance;
    return instance;
}

}  // namespace

void setPrivacyGate(PrivacyGate g) {
    gate() = std::move(g);
}

bool passPrivacyGate(GuardedFeature feature) {
    // Copied so that a gate replacing itself while it asks stays alive.
    const PrivacyGate current = gate();
    return !current || current(feature);
}

}  // namespace hinagiku::core
