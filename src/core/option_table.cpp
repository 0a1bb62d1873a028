#include "core/option_table.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "core/data_folders.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "platform/profile_text.h"

namespace hinagiku::core {
namespace {

using Rows = std::vector<OptionRow>;

void choice(Rows& rows, const char* section, const char* key, int def,
            std::vector<std::string> captions, unsigned rules = kNoRule) {
    OptionRow row{section,
                  key,
                  OptionKind::Choice,
                  def,
                  {},
                  0,
                  static_cast<int>(captions.size()) - 1,
                  rules,
                  std::move(captions)};
    rows.push_back(std::move(row));
}

void boolean(Rows& rows, const char* section, const char* key, bool def, unsigned rules = kNoRule) {
    rows.push_back({section, key, OptionKind::Boolean, def ? 1 : 0, {}, 0, 1, rules, {}});
}

void number(Rows& rows, const char* section, const char* key, int def, int low, int high,
            unsigned rules = kNoRule) {
    rows.push_back({section, key, OptionKind::Number, def, {}, low, high, rules, {}});
}

void color(Rows& rows, const char* section, const char* key, unsigned def) {
    rows.push_back({section, key, OptionKind::Color, static_cast<int>(def), {}, 0, 0, kNoRule, {}});
}

void text(Rows& rows, const char* section, const char* key, std::string def,
          OptionKind kind = OptionKind::Text, unsigned rules = kNoRule) {
    rows.push_back({section, key, kind, 0, std::move(def), 0, 0, rules, {}});
}

Rows buildTable() {
    Rows r;
    // 基本設定
    choice(r, "Setup", "Cal_DBLC", 0,
           {"ポップアップを記入", "スケジュールを記入", "スケジュール管理を表示",
            "指定日に移動を表示", "日記タイトル一覧を表示"});
    choice(r, "Form", "Tray_icon", 0, {"トレイ", "タスクバー", "タスクバー＆トレイ", "なし"},
           kNotAtCreation);
    choice(r, "Setup", "MIcon_DBLC", 0,
           {"日記タイトル一覧を表示", "スケジュール一覧を表示", "ポップアップの登録",
            "スケジュールの登録", "受信メールチェック", "簡易電話帳を表示"});
    choice(r, "Form", "Resource", 0, {"Win98(GlobalMemoryStatus)", "Win3.1(GDI/USER)"});
    // 拡張設定
    boolean(r, "Form", "Today_pop", false, kNeedsDataFolder);
    boolean(r, "Form", "Todo_pop", false, kNeedsDataFolder);
    boolean(r, "Form", "BirthPop", true);
    boolean(r, "Form", "Qreki", false);
    boolean(r, "Form", "Delete", false);
    text(r, "Pop_Born", "file", "", OptionKind::SoundFile);
    boolean(r, "Password", "Use", false, kUserOnly | kNotAtCreation);
    number(r, "Form", "Interval", 1000, 1000, 10000);
    boolean(r, "Form", "AnalogClock", false);
    boolean(r, "CalendarEx", "PopView", true);
    boolean(r, "ToolWindow", "Separate", false);
    boolean(r, "Form", "Move", false);
    boolean(r, "ToolWindow", "StayOnTop", false);
    boolean(r, "Form", "ModeSave", false);
    boolean(r, "Form", "Waveplay", true);
    boolean(r, "Form", "minitokei", false);
    // 補助設定
    choice(r, "Setup", "Period", 1, {"有効", "無効"});
    choice(r, "Setup", "Reboot", 1, {"表示", "非表示"});
    boolean(r, "Setup", "Reboot_exec", false, kNeedsRebootShown);
    text(r, "Form", "Period_Cap", "Period", OptionKind::Text, kWrittenAtClose);
    choice(r, "Setup", "DblClick", 0,
           {"ポップアップの登録", "スケジュールの登録", "スケジュール管理", "予定一覧",
            "ToDoボード", "誕生日管理", "日記タイトル一覧", "簡易電話帳"});
    choice(r, "Form", "Hotkey", 0, {"Windows + SPACEキー", "CTRL + SPACEキー"}, kNotAtCreation);
    // ｶﾚﾝﾀﾞｰ
    boolean(r, "CalendarEx", "Happy_Monday", true);
    boolean(r, "CalendarEx", "Law", false);
    // The calendar's design colours (the main window sets them before it
    // applies the stored ones).
    color(r, "CalendarEx", "SundayColor", 0x0000FF);
    color(r, "CalendarEx", "SaturdayColor", 0xFF00FF);
    color(r, "CalendarEx", "WeekDayColor", 0x808080);
    color(r, "CalendarEx", "NeighborDayColor", 0xC0C0C0);
    color(r, "CalendarEx", "HolidayColor", 0x0000FF);
    color(r, "CalendarEx", "SpecialDayColor", 0xFF0000);
    boolean(r, "CalendarEx", "CanCol_Week", false);
    boolean(r, "CalendarEx", "CanCol_Mon", false);
    boolean(r, "CalendarEx", "CanCol_Day", false);
    boolean(r, "CalendarEx", "CanCol_All", false);
    boolean(r, "CalendarEx", "CanCol_todo", false);
    boolean(r, "CalendarEx", "CanCol_Born", false);
    // ｽｹｼﾞｭｰﾙ
    color(r, "To_do", "PastColor", 0xFFFFFF);
    color(r, "To_do", "PastBackColor", 0x80000002u);
    color(r, "To_do", "TodayColor", 0xFFFFFF);
    color(r, "To_do", "TodayBackColor", 0x80000010u);
    color(r, "To_do", "FutureColor", 0x800000);
    color(r, "To_do", "FutureBackColor", 0x80000004u);
    // メモ
    text(r, "Memo", "FontName", "ＭＳ Ｐゴシック");
    number(r, "Memo", "FontSize", 9, 0, 0, kUnbounded);
    color(r, "Memo", "BackColor", 0x00FFFF);
    color(r, "Memo", "FontColor", 0);
    boolean(r, "Memo", "Caption", false);
    boolean(r, "Memo", "DropCaption", false);
    choice(r, "Form", "PastePic", 0, {"JPEG", "Bitmap"});
    // 日記
    text(r, "Nikki", "FontName", "ＭＳ Ｐゴシック");
    number(r, "Nikki", "FontSize", 9, 0, 0, kUnbounded);
    color(r, "Nikki", "BackColor", 0xFFFFFF);
    color(r, "Nikki", "FontColor", 0x80000008u);
    boolean(r, "Nikki", "Auto", false);
    number(r, "Nikki", "Auto_H", 0, 0, 23);
    number(r, "Nikki", "Auto_M", 0, 0, 59);
    // ﾎﾟｯﾌﾟｱｯﾌﾟ
    text(r, "Calendar", "file", "", OptionKind::SoundFile);
    text(r, "Calendar", "bitmap", "", OptionKind::PictureFile);
    boolean(r, "Calendar", "Stretch", false);
    number(r, "Calendar", "before", 0, 0, 59);
    boolean(r, "Form", "Exec_List", false);
    boolean(r, "Form", "Kill_List", false);
    // 簡易電話帳
    for (int tab = 0; tab < kPhoneTabCount; ++tab) {
        text(r, "TelePhone", ("Title_" + std::to_string(tab)).c_str(),
             std::string(kPhoneTabNames[static_cast<std::size_t>(tab)]));
    }
    for (int tab = 0; tab < kPhoneTabCount; ++tab) {
        for (int column = 0; column < kPhoneColumnCount; ++column) {
            text(r, "TelePhone",
                 (std::to_string(tab) + "Section_" + std::to_string(column)).c_str(),
                 std::string(kPhoneColumnNames[static_cast<std::size_t>(column)]));
        }
    }
    text(r, "TelePhone", "Browser", "");
    text(r, "TelePhone", "Mailer", "");
    boolean(r, "TelePhone", "Close", false);
    text(r, "TelePhone", "CloseTitle", std::string(kDialerTitle), OptionKind::Text,
         kEmptyIsDefault);
    number(r, "TelePhone", "Sleep", 100, 0, 9999);
    // The folder panel.
    text(r, "Calendar", "Directory", ".", OptionKind::Folder);
    text(r, "Privacy", "Directory", "", OptionKind::Folder, kNeedsDataFolder | kPrivateFolder);
    return r;
}

bool sameName(std::string_view a, std::string_view b) {
    return platform::profile_text::sameName(a, b);
}

bool parseWholeInt(std::string_view text, int& value) {
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const char* begin = text.data();
    if (*begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end && begin != end;
}

// Colour numbers: signed decimal, or the 32-bit pattern after "0x".
bool parseColor(std::string_view text, int& value) {
    if (parseWholeInt(text, value))
        return true;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        constexpr int kMarker = 0x7FFFFFFF;
        const int parsed = platform::parseProfileInt(text, kMarker);
        if (parsed == kMarker && text != "0x7FFFFFFF" && text != "0x7fffffff")
            return false;
        value = parsed;
        return true;
    }
    return false;
}

OptionChange refused(std::string message) {
    OptionChange change;
    change.status = OptionChange::Status::Refused;
    change.message = std::move(message);
    return change;
}

std::string stripTrailingSeparators(std::string_view path) {
    std::string s(path);
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

}  // namespace

const std::vector<OptionRow>& optionTable() {
    static const Rows rows = buildTable();
    return rows;
}

const OptionRow* findOption(std::string_view section, std::string_view key) {
    for (const OptionRow& row : optionTable()) {
        if (sameName(row.section, section) && sameName(row.key, key))
            return &row;
    }
    return nullptr;
}

int loadedNumber(const platform::Settings& settings, const OptionRow& row) {
    switch (row.kind) {
        case OptionKind::Choice: {
            const int index = settings.readInt(row.section, row.key, row.defaultNumber);
            return index < row.minimum || index > row.maximum ? row.defaultNumber : index;
        }
        case OptionKind::Boolean:
            if ((row.rules & kNeedsDataFolder) != 0 && DataFolder(settings) == ".")
                return 0;
            return settings.readBool(row.section, row.key, row.defaultNumber != 0) ? 1 : 0;
        case OptionKind::Number: {
            const int value = settings.readInt(row.section, row.key, row.defaultNumber);
            if ((row.rules & kUnbounded) != 0)
                return value;
            return std::clamp(value, row.minimum, row.maximum);
        }
        case OptionKind::Color:
            return settings.readInt(row.section, row.key, row.defaultNumber);
        default:
            return 0;
    }
}

std::string loadedValue(const platform::Settings& settings, const OptionRow& row) {
    switch (row.kind) {
        case OptionKind::Choice:
        case OptionKind::Boolean:
        case OptionKind::Number:
        case OptionKind::Color:
            return std::to_string(loadedNumber(settings, row));
        default:
            break;
    }
    std::string value = settings.readText(row.section, row.key, row.defaultText);
    if (value.empty() && (row.rules & kEmptyIsDefault) != 0)
        value = row.defaultText;
    return value;
}

bool optionEnabled(const platform::Settings& settings, const OptionRow& row) {
    if ((row.rules & kUserOnly) != 0)
        return true;
    if ((row.rules & kNeedsDataFolder) != 0 && DataFolder(settings) == ".")
        return false;
    if ((row.rules & kNeedsRebootShown) != 0 && settings.readInt("Setup", "Reboot", 1) != 0)
        return false;
    if (sameName(row.section, "CalendarEx") && sameName(row.key, "Happy_Monday") &&
        settings.readBool("CalendarEx", "Law", false)) {
        return false;
    }
    return true;
}

std::optional<std::string> unstorableTextReason(std::string_view text) {
    if (!platform::fitsCp932(text)) {
        return std::string("設定ファイル（Shift_JIS）に保存できない文字が含まれています。");
    }
    if (platform::cp932Length(text) > kMaxStoredTextBytes) {
        return "長すぎます（" + std::to_string(kMaxStoredTextBytes) + " バイトまで）。";
    }
    return std::nullopt;
}

FolderChoice dataFolderChoice(std::string_view chosen) {
    // The root stays as "/" (the drive root of the other system keeps its
    // separator too); other folders lose their trailing separators.
    FolderChoice choice;
    choice.stored = stripTrailingSeparators(chosen);
    choice.isRoot = choice.stored == "/";
    return choice;
}

FolderChoice privateFolderChoice(const platform::Settings& settings, std::string_view chosen) {
    FolderChoice choice;
    // Stripping must not make "/" the empty text, which means "the data folder".
    choice.stored = stripTrailingSeparators(chosen);
    choice.isRoot = choice.stored == "/";
    if (choice.stored == DataFolder(settings))
        choice.stored.clear();
    return choice;
}

OptionChange changeOption(platform::Settings& settings, std::string_view section,
                          std::string_view key, std::string_view value) {
    const OptionRow* row = findOption(section, key);
    if (row == nullptr) {
        OptionChange change;
        change.status = OptionChange::Status::NoSuchSetting;
        change.message = "no such setting: [" + std::string(section) + "] " + std::string(key);
        return change;
    }
    if ((row->rules & kUserOnly) != 0)
        return refused("パスワード機能の切り替えはパスワードウィンドウでのみ行えます。");
    if (!optionEnabled(settings, *row))
        return refused("この設定は現在の状態では変更できません（無効な項目です）。");

    OptionChange change;
    auto write = [&](const OptionRow* target, const std::string& v) {
        change.written.emplace_back(target, v);
    };
    int number = 0;
    switch (row->kind) {
        case OptionKind::Choice:
            if (!parseWholeInt(value, number) || number < row->minimum || number > row->maximum)
                return refused("選択肢の番号は 0 から " + std::to_string(row->maximum) +
                               " までです。");
            write(row, std::to_string(number));
            if (sameName(row->key, "Reboot") && number != 0)
                write(findOption("Setup", "Reboot_exec"), "0");
            break;
        case OptionKind::Boolean:
            if (value != "0" && value != "1")
                return refused("値は 0 か 1 です。");
            write(row, std::string(value));
            break;
        case OptionKind::Number:
            if (!parseWholeInt(value, number))
                return refused("数値ではありません。");
            if ((row->rules & kUnbounded) == 0)
                number = std::clamp(number, row->minimum, row->maximum);
            write(row, std::to_string(number));
            break;
        case OptionKind::Color:
            if (!parseColor(value, number))
                return refused("色の値は10進数か 0x で始まる16進数です。");
            write(row, std::to_string(number));
            break;
        case OptionKind::Text:
        case OptionKind::SoundFile:
        case OptionKind::PictureFile: {
            if (auto reason = unstorableTextReason(value))
                return refused(*reason);
            std::string v(value);
            if (v.empty() && (row->rules & kEmptyIsDefault) != 0)
                v = row->defaultText;
            std::error_code ec;
            if (row->kind == OptionKind::PictureFile && !std::filesystem::is_regular_file(v, ec))
                v.clear();
            write(row, v);
            break;
        }
        case OptionKind::Folder: {
            if (auto reason = unstorableTextReason(value))
                return refused(*reason);
            if (value.empty() || value.front() != '/')
                return refused("フォルダは絶対パスで指定してください。");
            if (!platform::folderExists(std::string(value)))
                return refused("フォルダがありません: " + std::string(value));
            const FolderChoice chosen = (row->rules & kPrivateFolder) != 0
                                            ? privateFolderChoice(settings, value)
                                            : dataFolderChoice(value);
            if (chosen.isRoot && (row->rules & kPrivateFolder) == 0)
                change.warning = std::string(kRootFolderWarning);
            write(row, chosen.stored);
            break;
        }
    }
    for (const auto& [target, v] : change.written)
        settings.writeText(target->section, target->key, v);
    return change;
}

}  // namespace hinagiku::core
