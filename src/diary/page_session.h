#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diary/diary_page.h"
#include "diary/diary_store.h"

namespace hinagiku::diary {

// Why a page did not open, and the message the user sees.
enum class OpenFailure { None, Cipher, Html, Damaged, TooLarge, Unreadable };

// A day's page as the diary window opens it: the header completed with the
// defaults, the body bytes (RTF or CP932 plain text), the status line.
struct OpenedPage {
    int day = 0;
    PageSource source = PageSource::New;  // after a conversion: Jnl
    std::filesystem::path path;           // the file read, or where a new page goes
    PageHeader header;
    std::string body;
    std::string status;
    bool loaded = false;  // a file was loaded or converted: deletion possible
    bool converted = false;
    bool placementFromFile = false;  // else the defaults, kept on the screen
    std::vector<HeaderProblem> problems;
};

struct OpenOutcome {
    OpenFailure failure = OpenFailure::None;
    std::string cipherName;
    std::string message;  // for a failure
    OpenedPage page;
};

// Opens the day's page. With `convert`, a legacy page is converted (written
// and the old file deleted, as the window does); without, it is only read.
// A new page's title is the window caption. Colours missing from the file
// take the defaults' ; placement missing from the file takes them as well.
// Throws platform::IoError when a conversion cannot be written.
OpenOutcome openPage(const std::filesystem::path& folder, int day, const PageDefaults& defaults,
                     bool convert);

// The message for a page that cannot be opened.
std::string failureMessage(OpenFailure failure, const std::string& cipherName,
                           const std::filesystem::path& path);

// UTF-8 text as a CP932 plain-text body with CR LF line ends.
std::string plainBody(std::string_view utf8);

// Texts the title and weather fields refuse: characters CP932 lacks.
// Returns the note to show, or nothing when the text fits.
std::optional<std::string> cp932Note(std::string_view field, std::string_view utf8);

}  // namespace hinagiku::diary
