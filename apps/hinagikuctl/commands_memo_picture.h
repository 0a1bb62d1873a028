#pragma once

#include <filesystem>
#include <string>

#include "command_registry.h"
#include "platform/settings.h"

namespace hinagiku::ctl {

// "memo picture KEY FILE" for a memo the caller has found closed and listed
// (under `key` as its index spells it): the picture paste from FILE, any
// picture Qt reads. Written to the memo folder as key + ".JPG" (quality
// 100), or ".BMP" with [Form] PastePic; Kind = 1 and BmpFile set. Prints
// the file written.
int memoPicture(CommandContext& context, platform::Settings& settings,
                const std::filesystem::path& memoFolder, const std::string& key,
                const std::string& file);

}  // namespace hinagiku::ctl
