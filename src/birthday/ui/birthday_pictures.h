#pragma once

#include <QPixmap>

#include <string_view>

namespace hinagiku::birthday {

// The 64 x 64 picture of a zodiac sign, animal or birthstone carried with the
// program, found by name in any case; a null pixmap for an unknown name.
QPixmap birthdayPicture(std::string_view name);

}  // namespace hinagiku::birthday
