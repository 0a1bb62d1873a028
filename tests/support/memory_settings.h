#pragma once

#include "platform/memory_settings.h"

namespace hinagiku::testing {

using MemorySettings = platform::MemorySettings;

}  // namespace hinagiku::testing
