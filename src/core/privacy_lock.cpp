#include "core/privacy_lock.h"

#include <sys/stat.h>

#include <cerrno>

#include "calendar/format_date.h"
#include "core/data_folders.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"

namespace hinagiku::core {
namespace {

constexpr std::string_view kSection = "Password";

bool isBlankOrControl(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == ' ';
}

}  // namespace

std::string_view accessKey(GuardedFeature feature) {
    switch (feature) {
        case GuardedFeature::Diary:
            return "Diary";
        case GuardedFeature::Telephone:
            return "Telephone";
        case GuardedFeature::Period:
            return "Period";
    }
    return "Diary";
}

bool isGuarded(const platform::Settings& settings, GuardedFeature feature) {
    if (!settings.readBool(kSection, "Use", false))
        return false;
    return feature != GuardedFeature::Telephone || settings.readBool(kSection, "tel", false);
}

bool passwordStored(const platform::Settings& settings) {
    return !settings.readText(kSection, "Password", "").empty();
}

bool passwordMatches(const platform::Settings& settings, std::string_view typed) {
    const std::string stored = settings.readText(kSection, "Password", "");
    // Nothing stored matches nothing: closing the window must not open all.
    if (stored.empty() || typed.empty() || !platform::fitsCp932(typed))
        return false;
    return platform::toCp932(typed) == platform::toCp932(stored);
}

bool passwordStorable(std::string_view password) {
    if (password.empty() || !platform::fitsCp932(password))
        return false;
    if (platform::cp932Length(password) > platform::ProfileFile::kMaxValueBytes)
        return false;
    if (isBlankOrControl(static_cast<unsigned char>(password.front())) ||
        isBlankOrControl(static_cast<unsigned char>(password.back()))) {
        return false;
    }
    for (const char c : password) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            return false;
    }
    const char first = password.front();
    if (password.size() >= 2 && (first == '"' || first == '\'') && password.back() == first)
        return false;
    return true;
}

PasswordChange changePassword(platform::Settings& settings, std::string_view current,
                              std::string_view newPassword, std::string_view again, bool tel) {
    if (passwordStored(settings) && !passwordMatches(settings, current))
        return PasswordChange::WrongCurrent;
    if (newPassword.empty() || newPassword != again || !passwordStorable(newPassword))
        return PasswordChange::Invalid;
    settings.writeText(kSection, "Password", newPassword);
    settings.writeBool(kSection, "tel", tel);
    if (const auto* file = dynamic_cast<const platform::ProfileFile*>(&settings))
        restrictToOwner(file->path());
    return PasswordChange::Changed;
}

std::string recordAccess(platform::Settings& settings, GuardedFeature feature, DateTime now) {
    std::string text = FormatDate("yyyy/mm/dd hh:nn:ss", now);
    settings.writeText(kSection, accessKey(feature), text);
    return text;
}

std::string lastAccess(const platform::Settings& settings, GuardedFeature feature) {
    // A marker tells an absent key from a stored one.
    constexpr std::string_view kAbsent = "\x01";
    std::string value = settings.readText(kSection, accessKey(feature), kAbsent);
    if (value == kAbsent)
        return std::string(kNoAccess);
    return value;
}

std::optional<std::filesystem::path> passwordFolder(const platform::Settings& settings) {
    const std::string data = DataFolder(settings);
    if (data == ".")
        return std::nullopt;
    return std::filesystem::path(joinPath(data, "Password"));
}

bool ensurePasswordFolder(const platform::Settings& settings) {
    const auto folder = passwordFolder(settings);
    if (!folder)
        return false;
    if (!platform::folderExists(*folder))
        ::mkdir(folder->c_str(), 0777);  // one level; a refusal shows as a missing folder
    return platform::folderExists(*folder);
}

void restrictToOwner(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return;
    if ((st.st_mode & 077) != 0)
        ::chmod(file.c_str(), st.st_mode & 0700);
}

}  // namespace hinagiku::core
