#pragma once

#include <filesystem>
#include <string_view>

namespace hinagiku::todo {

// The ToDo folder of a data folder: "Todo", or the existing folder whose
// name differs only in ASCII case ("TODO" copied from Windows), never a twin.
std::filesystem::path findTodoFolder(std::string_view dataFolder);
// The same, created (one level) when missing. Throws IoError when the
// system refuses.
std::filesystem::path ensureTodoFolder(std::string_view dataFolder);

}  // namespace hinagiku::todo
