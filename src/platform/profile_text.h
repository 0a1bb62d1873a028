#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hinagiku::platform {

// The profile rules on the CP932 bytes of a whole file, apart from the file
// itself so that they can be tested and measured on text. Names and values
// are CP932 bytes here.
namespace profile_text {

// The value of the first key `key` in the first section `section`, after
// trimming, removing one pair of matching quotes and cutting to `maxBytes`
// on a character boundary; nothing when absent.
std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::size_t maxBytes);

// Key names of the first section `section`, in file order, each once,
// within `listBytes` (each name plus a terminating zero, and a final zero).
std::vector<std::string> keyNames(std::string_view text, std::string_view section,
                                  std::size_t listBytes);

// The text with key `key` of section `section` set to `value`: an existing
// key line is rewritten in place, a new key goes after the last key of the
// first such section, a new section goes at the end. Nothing else changes.
// Returns nothing when the text already holds exactly that.
std::optional<std::string> withValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value);

// Every key line of the first section `section` in file order, duplicates
// included: the key name trimmed, the value as it stands after "=" (line
// end removed, nothing else).
std::vector<std::pair<std::string, std::string>> entries(std::string_view text,
                                                         std::string_view section);

// Names of every section header, in file order (each as often as it stands).
std::vector<std::string> sectionNames(std::string_view text);

// The text without the first line of key `key` in the first section
// `section`; nothing when there is none.
std::optional<std::string> withoutKey(std::string_view text, std::string_view section,
                                      std::string_view key);

// The text with every key line of the first section `section` replaced by
// `lines` (each "key=value", no line end), placed where the first key line
// was (after the header when the section has none); a missing section is
// added at the end. Nothing when the text already holds exactly that.
std::optional<std::string> withSectionKeys(std::string_view text, std::string_view section,
                                           const std::vector<std::string>& lines);

// The text without every section named `section`.
std::optional<std::string> withoutSection(std::string_view text, std::string_view section);

// A stored value as the profile functions read it: trimmed, one pair of
// matching quotes removed, cut to `maxBytes` on a character boundary.
std::string cleanValue(std::string_view raw, std::size_t maxBytes);

// Name comparison of the profile functions: ASCII letters without regard to
// case, the second byte of a double-byte character as it is.
bool sameName(std::string_view a, std::string_view b);

}  // namespace profile_text
}  // namespace hinagiku::platform
