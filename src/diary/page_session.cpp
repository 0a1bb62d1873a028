#include "diary/page_session.h"

#include "platform/cp932.h"

namespace hinagiku::diary {

std::string failureMessage(OpenFailure failure, const std::string& cipherName,
                           const std::filesystem::path& path) {
    switch (failure) {
        case OpenFailure::None:
            return {};
        case OpenFailure::Cipher:
            return "｢" + cipherName +
                   "｣で暗号化されているので中断します。\r暗号を解いてから読み込んでください。";
        case OpenFailure::Html:
            return "｢HTML｣は未サポートなので中断します。\r標準テキストに変換してから読み込んでくだ"
                   "さい。";
        case OpenFailure::Damaged:
            return "｢" + path.string() +
                   "｣には終わりの行(:END)が無いので開けません。\rファイルはそのまま残します。";
        case OpenFailure::TooLarge:
            return "｢" + path.string() +
                   "｣は大きすぎるので開けません。\rファイルはそのまま残します。";
        case OpenFailure::Unreadable:
            return "｢" + path.string() + "｣を読み込めません。";
    }
    return {};
}

namespace {

OpenFailure failureOf(const StoredPage& page) {
    if (page.tooLarge)
        return OpenFailure::TooLarge;
    if (page.unreadable)
        return OpenFailure::Unreadable;
    switch (page.page.refusal) {
        case Refusal::None:
            return OpenFailure::None;
        case Refusal::Cipher:
            return OpenFailure::Cipher;
        case Refusal::Html:
            return OpenFailure::Html;
        case Refusal::Damaged:
            return OpenFailure::Damaged;
    }
    return OpenFailure::None;
}

void completeHeader(PageHeader& header, const PageDefaults& defaults) {
    if (!header.fontColor)
        header.fontColor = defaults.fontColor;
    if (!header.backColor)
        header.backColor = defaults.backColor;
    if (!header.top)
        header.top = defaults.top;
    if (!header.left)
        header.left = defaults.left;
    if (!header.height)
        header.height = defaults.height;
    if (!header.width)
        header.width = defaults.width;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace

OpenOutcome openPage(const std::filesystem::path& folder, int day, const PageDefaults& defaults,
                     bool convert) {
    OpenOutcome outcome;
    StoredPage stored = readStoredPage(folder, day);
    outcome.failure = failureOf(stored);
    if (outcome.failure != OpenFailure::None) {
        outcome.cipherName = stored.page.cipherName;
        outcome.message = failureMessage(outcome.failure, outcome.cipherName, stored.path);
        outcome.page.path = stored.path;
        outcome.page.source = stored.source;
        return outcome;
    }
    OpenedPage& page = outcome.page;
    page.day = day;
    if (stored.source == PageSource::Legacy && convert) {
        Conversion conversion = convertLegacy(folder, day);
        page.status = conversion.status;
        page.converted = true;
        stored = std::move(conversion.page);
    }
    page.source = stored.source;
    page.path = stored.path;
    switch (stored.source) {
        case PageSource::Jnl:
            page.header = stored.page.header;
            page.body = stored.page.body;
            page.problems = stored.page.problems;
            page.loaded = true;
            if (page.status.empty())
                page.status = stored.path.string();
            break;
        case PageSource::Legacy:
            page.header.title =
                cutCharacters(platform::fromCp932(stored.legacy.title), kValueLimit);
            page.header.weather = platform::fromCp932(stored.legacy.weather);
            page.header.hasTitle = true;
            page.body = joinLines(stored.legacy.bodyLines);
            page.loaded = true;
            page.status = stored.path.string();
            break;
        case PageSource::New:
            page.header.title = pageCaption(day);
            break;
    }
    page.placementFromFile =
        page.header.top || page.header.left || page.header.height || page.header.width;
    completeHeader(page.header, defaults);
    return outcome;
}

std::string plainBody(std::string_view utf8) {
    std::string withCrLf;
    withCrLf.reserve(utf8.size() + utf8.size() / 16);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r') {
            withCrLf += "\r\n";
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        } else if (utf8[i] == '\n') {
            withCrLf += "\r\n";
        } else {
            withCrLf += utf8[i];
        }
    }
    return platform::toCp932(withCrLf);
}

std::optional<std::string> cp932Note(std::string_view field, std::string_view utf8) {
    if (platform::fitsCp932(utf8))
        return std::nullopt;
    return std::string(field) +
           "にShift-JISで保存できない文字があります。\rその文字を別の文字に替えてください。";
}

}  // namespace hinagiku::diary
