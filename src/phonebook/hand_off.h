#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::phonebook {

// What a button of the phone book starts: a program with a parameter text
// (split like a Windows command line by the launcher), or a URI for the
// desktop's opener (program = the URI, no parameters); or a refusal with
// the message to show.
struct HandOff {
    bool refused = false;
    std::string message;  // UTF-8, when refused
    std::string program;
    std::string parameters;  // joined with platform::joinCommandLine rules
};

// E-mail: [TelePhone] Mailer "program?prefix" gets prefix + the quoted cell;
// empty Mailer opens "mailto:" + the address.
HandOff planMail(std::string_view mailer, std::string_view address);
// Web page: [TelePhone] Browser as Mailer; empty Browser opens web
// addresses only ("http://" is put in front of one without a scheme), never
// a path or a program.
HandOff planWeb(std::string_view browser, std::string_view address);

// Modem dialling through [TelePhone] Dialer: empty hands a tel: URI to the
// desktop's opener; otherwise a command line whose %u, %n, %c become the URI,
// the number and the called party (the URI is appended when none appears).
struct DialPlan {
    bool open = false;  // true: `uri` to the opener
    std::string uri;
    std::string program;
    std::vector<std::string> arguments;
    std::string message;  // set when nothing can be done (a blank Dialer)
};
DialPlan planDial(std::string_view dialer, std::string_view number, std::string_view calledParty);

}  // namespace hinagiku::phonebook
