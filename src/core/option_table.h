#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"

namespace hinagiku::core {

// What kind of control edits a setting, and so how it is loaded and written.
enum class OptionKind {
    Choice,  // index into a list of captions
    Boolean,
    Number,  // spin box; bounds below
    Color,   // colour number, red in the low byte
    Text,
    SoundFile,
    PictureFile,
    Folder,
};

// Rules beyond the kind.
enum OptionRule : unsigned {
    kNoRule = 0,
    kNeedsDataFolder = 1u << 0,   // disabled, and loaded false, while the data folder is "."
    kNeedsRebootShown = 1u << 1,  // enabled only while [Setup] Reboot is 0
    kUserOnly = 1u << 2,          // the password switch: never set from outside
    kEmptyIsDefault = 1u << 3,    // an emptied field turns back into the default
    kUnbounded = 1u << 4,         // a number without bounds
    kPrivateFolder = 1u << 5,     // stored empty when equal to the data folder
    kWrittenAtClose = 1u << 6,    // the dialog writes it when it closes
    kNotAtCreation = 1u << 7,     // creation neither writes nor informs
};

// One setting of the settings dialog's pages and folder panel.
struct OptionRow {
    std::string section;
    std::string key;
    OptionKind kind;
    // Default: an integer for choices, booleans, numbers and colours; a text
    // for the others.
    int defaultNumber = 0;
    std::string defaultText;
    int minimum = 0;  // numbers: bounds; choices: 0 and the last index
    int maximum = 0;
    unsigned rules = kNoRule;
    std::vector<std::string> choices;  // captions of a choice, in order
};

// Every setting, in the order of the dialog's pages and then the folder
// panel (the holiday table and the placement of new memos are left out:
// they are not single values).
const std::vector<OptionRow>& optionTable();

// The row with these names (compared without regard to ASCII case).
const OptionRow* findOption(std::string_view section, std::string_view key);

// The value the dialog loads for `row`, as the text `option list` prints:
// choices outside the list give the default, numbers are clamped, booleans
// are "1"/"0", colours signed decimal.
std::string loadedValue(const platform::Settings& settings, const OptionRow& row);

// The number or index the dialog loads (choices, booleans, numbers, colours).
int loadedNumber(const platform::Settings& settings, const OptionRow& row);

// Whether the control is enabled in the current state of the settings.
bool optionEnabled(const platform::Settings& settings, const OptionRow& row);

// The longest text the settings file gives back whole, in CP932 bytes.
inline constexpr std::size_t kMaxStoredTextBytes = 1023;

// Why a text cannot be stored as it is, or nothing when it can: characters
// the file's code page lacks would come back as "?", and longer texts come
// back cut.
std::optional<std::string> unstorableTextReason(std::string_view text);

// Outcome of one change made the way the user makes it in the dialog.
struct OptionChange {
    enum class Status { Written, Refused, NoSuchSetting };
    Status status = Status::Written;
    std::string message;  // why it was refused
    std::string warning;  // written, but the user should know (drive root)
    std::vector<std::pair<const OptionRow*, std::string>> written;  // row and value, in order
};

// Applies `value` to the setting the user's way: clamping, defaults of
// emptied fields, side writes (Reboot 1 unticks Reboot_exec), folders by the
// folder rules. Refuses (writing nothing) values the control cannot take,
// disabled controls, unstorable texts and missing folders.
OptionChange changeOption(platform::Settings& settings, std::string_view section,
                          std::string_view key, std::string_view value);

// The folder choice rules, shared with the dialog's choosers. The path as it
// is stored; `isRoot` tells that the root was chosen (the warning is due).
struct FolderChoice {
    std::string stored;
    bool isRoot = false;
};
FolderChoice dataFolderChoice(std::string_view chosen);
FolderChoice privateFolderChoice(const platform::Settings& settings, std::string_view chosen);

inline constexpr std::string_view kRootFolderWarning =
    "ルートが設定されています。\rサブディレクトリに再設定してください。";
inline constexpr std::string_view kDialerTitle = "ダイヤラ";

// The phone book's tabs and its five column titles, as their defaults.
inline constexpr int kPhoneTabCount = 12;
inline constexpr int kPhoneColumnCount = 5;
inline constexpr std::string_view kPhoneTabNames[kPhoneTabCount] = {
    "電話帳", "あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ", "他"};
inline constexpr std::string_view kPhoneColumnNames[kPhoneColumnCount] = {
    "会社名・所属", "氏名", "電話番号", "E-Mail", "Webページ"};

}  // namespace hinagiku::core
