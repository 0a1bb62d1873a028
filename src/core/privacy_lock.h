#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/date_time.h"
#include "core/ui/privacy_gate.h"
#include "platform/settings.h"

namespace hinagiku::core {

// The rules of the privacy lock, section [Password] of the settings file.
// The password is kept as plain text, as files from the other system have
// it; it is compared in the file's code page and never printed or logged.

inline constexpr std::string_view kNoAccess = "アクセスありません。";
inline constexpr std::string_view kWrongPassword = "パスワードが違います。";
inline constexpr std::string_view kWrongCurrentPassword =
    "パスワードが異なるので変更しませんでした。";
inline constexpr std::string_view kInvalidPassword = "パスワードが不正なので変更しませんでした。";
inline constexpr std::string_view kPasswordChanged = "パスワードを変更しました。";

// The key of the feature's last access: "Diary", "Telephone", "Period".
std::string_view accessKey(GuardedFeature feature);

// Whether opening `feature` asks for the password now.
bool isGuarded(const platform::Settings& settings, GuardedFeature feature);

bool passwordStored(const platform::Settings& settings);

// Whether `typed` is the stored password, comparing the code-page bytes (so
// U+301C typed on this system matches 0x8160 stored on the other). With no
// password stored nothing matches; a character the code page lacks never
// matches (it would be stored as "?").
bool passwordMatches(const platform::Settings& settings, std::string_view typed);

// Whether the settings file gives `password` back unchanged: the code page
// holds it, no blanks or control characters at its ends or inside it, not
// enclosed in matching quotes, at most 1023 bytes. A password it cannot give
// back would lock the user out.
bool passwordStorable(std::string_view password);

enum class PasswordChange { Changed, WrongCurrent, Invalid };

// "設定": checks the current password (when one is stored), then the new
// one and its re-entry, then writes [Password] Password and tel. When the
// settings file is more open than owner-only, it becomes owner-only.
PasswordChange changePassword(platform::Settings& settings, std::string_view current,
                              std::string_view newPassword, std::string_view again, bool tel);

// Writes the feature's access key with `now` as "yyyy/mm/dd hh:nn:ss";
// returns that text.
std::string recordAccess(platform::Settings& settings, GuardedFeature feature, DateTime now);

// The stored access time, or "アクセスありません。".
std::string lastAccess(const platform::Settings& settings, GuardedFeature feature);

// The "Password" folder one level in the data folder; nothing while the data
// folder is unset (".").
std::optional<std::filesystem::path> passwordFolder(const platform::Settings& settings);

// Creates the password folder when missing (one level). False when there is
// no data folder or it cannot be had; nothing is thrown.
bool ensurePasswordFolder(const platform::Settings& settings);

// Makes the file owner-only when group or others may read or write it; a
// file system without permissions is left alone.
void restrictToOwner(const std::filesystem::path& file);

}  // namespace hinagiku::core
