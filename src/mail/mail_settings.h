#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::mail {

// How a conversation is protected: 0 plain (what stored files without the
// key mean), 1 STARTTLS / STLS on the plain port, 2 TLS from the first byte.
enum class TlsMode { Plain = 0, StartTls = 1, Implicit = 2 };

TlsMode tlsModeFromInt(int value);

// The port of a setting: empty means the protocol's port for the mode;
// anything but 1..65535 in decimal is no port.
std::optional<std::uint16_t> portNumber(std::string_view text, TlsMode mode,
                                        std::uint16_t plainPort, std::uint16_t implicitPort);

// A certificate pin as stored: SHA-256 of the DER certificate, 64 hex
// digits, case and colons ignored. Returns the 64 lowercase digits, or an
// empty text when `text` is no such value.
std::string normalizePin(std::string_view text);

struct Pop3Account {
    int number = 1;  // 1..3
    bool check = false;
    std::string name;
    std::string server;
    std::string user;
    std::string password;
    std::string port = "110";
    TlsMode tls = TlsMode::Plain;
    std::string pin;
};

Pop3Account readPop3Account(const platform::Settings& settings, int number);
// The settings key of account `number`: "pop" + number + "_" + field.
std::string pop3Key(int number, std::string_view field);

// [pop] min clamped to 1..300 (default 60).
int mailCheckInterval(const platform::Settings& settings);

struct SmtpConfig {
    bool enabled = false;
    std::string server;
    std::string port = "25";
    std::string from;
    std::string to;
    TlsMode tls = TlsMode::Plain;
    std::string pin;
    std::string user;
    std::string password;
};

SmtpConfig readSmtpConfig(const platform::Settings& settings);

// The result text of one account: name + "：" + |count| + "通", or empty
// when the count is 0 or less.
std::string resultText(std::string_view name, long long count);

}  // namespace hinagiku::mail
