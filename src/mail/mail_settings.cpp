#include "mail/mail_settings.h"

#include <algorithm>
#include <charconv>

#include "mail/stored_password.h"

namespace hinagiku::mail {

TlsMode tlsModeFromInt(int value) {
    switch (value) {
        case 1:
            return TlsMode::StartTls;
        case 2:
            return TlsMode::Implicit;
        default:
            return TlsMode::Plain;
    }
}

std::optional<std::uint16_t> portNumber(std::string_view text, TlsMode mode,
                                        std::uint16_t plainPort, std::uint16_t implicitPort) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty())
        return mode == TlsMode::Implicit ? implicitPort : plainPort;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::string normalizePin(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == ':' || c == ' ')
            continue;
        if (c >= '0' && c <= '9')
            out.push_back(c);
        else if (c >= 'a' && c <= 'f')
            out.push_back(c);
        else if (c >= 'A' && c <= 'F')
            out.push_back(static_cast<char>(c - 'A' + 'a'));
        else
            return {};
    }
    return out.size() == 64 ? out : std::string();
}

std::string pop3Key(int number, std::string_view field) {
    return "pop" + std::to_string(number) + "_" + std::string(field);
}

Pop3Account readPop3Account(const platform::Settings& settings, int number) {
    Pop3Account a;
    a.number = number;
    a.check = settings.readBool("pop", pop3Key(number, "check"), false);
    a.name = settings.readText("pop", pop3Key(number, "name"), "");
    a.server = settings.readText("pop", pop3Key(number, "server"), "");
    a.user = settings.readText("pop", pop3Key(number, "user"), "");
    a.password = readPassword(settings, "pop", pop3Key(number, "password"));
    a.port = settings.readText("pop", pop3Key(number, "port"), "110");
    a.tls = tlsModeFromInt(settings.readInt("pop", pop3Key(number, "tls"), 0));
    a.pin = normalizePin(settings.readText("pop", pop3Key(number, "tls_pin"), ""));
    return a;
}

int mailCheckInterval(const platform::Settings& settings) {
    return std::clamp(settings.readInt("pop", "min", 60), 1, 300);
}

SmtpConfig readSmtpConfig(const platform::Settings& settings) {
    SmtpConfig c;
    c.enabled = settings.readBool("smtp", "smtp_check", false);
    c.server = settings.readText("smtp", "smtp_server", "");
    c.port = settings.readText("smtp", "smtp_port", "25");
    c.from = settings.readText("smtp", "smtp_fromaddr", "");
    c.to = settings.readText("smtp", "smtp_mailaddr", "");
    c.tls = tlsModeFromInt(settings.readInt("smtp", "smtp_tls", 0));
    c.pin = normalizePin(settings.readText("smtp", "smtp_tls_pin", ""));
    c.user = settings.readText("smtp", "smtp_user", "");
    c.password = readPassword(settings, "smtp", "smtp_password");
    return c;
}

std::string resultText(std::string_view name, long long count) {
    if (count <= 0)
        return {};
    return std::string(name) + "\xEF\xBC\x9A" + std::to_string(count) + "\xE9\x80\x9A";
}

}  // namespace hinagiku::mail
