#include "phonebook/hand_off.h"

#include "phonebook/dial_text.h"
#include "platform/command_line.h"

namespace hinagiku::phonebook {
namespace {

constexpr std::string_view kDashRefused = "「-」で始まる項目は渡せません。";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

HandOff refused(std::string_view message) {
    HandOff h;
    h.refused = true;
    h.message = std::string(message);
    return h;
}

HandOff throughProgram(std::string_view setting, std::string_view cell) {
    const std::size_t q = setting.find('?');
    HandOff h;
    h.program = std::string(trimmed(setting.substr(0, q)));
    const std::string_view prefix = q == std::string_view::npos ? "" : setting.substr(q + 1);
    // One argument whatever the cell holds: quotes and spaces cannot add more.
    h.parameters = std::string(prefix) + platform::quoteCommandLineArgument(cell);
    return h;
}

// Percent-encodes what a mailto: address must not carry raw ("?" would add
// headers, "&" more of them).
std::string mailtoAddress(std::string_view address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : address) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                           (b >= 'a' && b <= 'z') ||
                           std::string_view("@.-_+!~*'()").find(c) != std::string_view::npos;
        if (plain) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 15]);
        }
    }
    return out;
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The scheme of a URI ("http" of "http://x"), empty when there is none;
// "host:8080" has none.
std::string schemeOf(std::string_view text) {
    if (text.empty() || !isAsciiLetter(text.front()))
        return {};
    std::size_t i = 1;
    while (i < text.size() && (isAsciiLetter(text[i]) || (text[i] >= '0' && text[i] <= '9') ||
                               text[i] == '+' || text[i] == '.' || text[i] == '-'))
        ++i;
    if (i >= text.size() || text[i] != ':')
        return {};
    if (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9')
        return {};  // a port
    std::string scheme(text.substr(0, i));
    for (auto& c : scheme)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return scheme;
}

}  // namespace

HandOff planMail(std::string_view mailer, std::string_view address) {
    address = trimmed(address);
    if (address.empty())
        return refused("E-Mailアドレスがありません。");
    if (address.front() == '-')
        return refused(kDashRefused);
    if (trimmed(mailer).empty()) {
        HandOff h;
        h.program = "mailto:" + mailtoAddress(address);
        return h;
    }
    return throughProgram(mailer, address);
}

HandOff planWeb(std::string_view browser, std::string_view address) {
    address = trimmed(address);
    if (address.empty())
        return refused("Webページがありません。");
    if (address.front() == '-')
        return refused(kDashRefused);
    if (!trimmed(browser).empty())
        return throughProgram(browser, address);
    const std::string scheme = schemeOf(address);
    HandOff h;
    if (scheme == "http" || scheme == "https") {
        h.program = std::string(address);
        return h;
    }
    if (!scheme.empty())
        return refused("Webページのアドレス（http:// または https://）ではありません。");
    const char first = address.front();
    if (first == '/' || first == '~' || first == '.' || first == '\\' ||
        address.find(' ') != std::string_view::npos)
        return refused("Webページのアドレス（http:// または https://）ではありません。");
    h.program = "http://" + std::string(address);
    return h;
}

DialPlan planDial(std::string_view dialer, std::string_view number, std::string_view calledParty) {
    DialPlan plan;
    plan.uri = telUri(number);
    if (trimmed(dialer).empty()) {
        plan.open = true;
        return plan;
    }
    const std::string cut = dialNumber(number);
    auto words = platform::splitCommandLine(dialer);
    bool placed = false;
    for (auto& word : words) {
        std::string out;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word[i] == '%' && i + 1 < word.size()) {
                const char k = word[i + 1];
                if (k == 'u' || k == 'n' || k == 'c') {
                    out.append(k == 'u' ? plan.uri : k == 'n' ? cut : std::string(calledParty));
                    placed = true;
                    ++i;
                    continue;
                }
            }
            out.push_back(word[i]);
        }
        word = std::move(out);
    }
    if (words.empty()) {
        plan.message = "ダイヤラーのコマンドがありません。";
        return plan;
    }
    if (!placed)
        words.push_back(plan.uri);
    plan.program = words.front();
    plan.arguments.assign(words.begin() + 1, words.end());
    return plan;
}

}  // namespace hinagiku::phonebook
