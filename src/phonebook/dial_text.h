#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::phonebook {

// The characters of a dial field, one UTF-8 character each, with the
// full-width forms U+FF01-FF5E folded to ASCII ("０３－１２＃" dials as
// "03-12#").
std::vector<std::string> dialCharacters(std::string_view utf8);

// The dial field folded to ASCII where it can be and cut to 255 CP932 bytes
// on a character boundary: the number handed to a dialler.
std::string dialNumber(std::string_view utf8);

// "tel:" + the number without spaces, every byte outside 0-9A-Za-z+*-.(),;
// percent-encoded (UTF-8).
std::string telUri(std::string_view utf8);

}  // namespace hinagiku::phonebook
