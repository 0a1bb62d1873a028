#pragma once

#include <string>
#include <string_view>

#include "calendar/date_time.h"

namespace hinagiku {

// Formats `value` by `pattern` (the program's date pattern language, with
// Japanese weekday names). Never fails: unknown characters are copied.
// Pattern and result are UTF-8.
std::string FormatDate(std::string_view pattern, DateTime value);

}  // namespace hinagiku
