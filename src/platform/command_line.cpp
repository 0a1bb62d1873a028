#include "platform/command_line.h"

namespace hinagiku::platform {

std::vector<std::string> splitCommandLine(std::string_view text) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;  // something (even an empty quoted part) was seen
    bool quoted = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\') {
            std::size_t count = 0;
            while (i < text.size() && text[i] == '\\') {
                ++count;
                ++i;
            }
            inArgument = true;
            if (i < text.size() && text[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current.push_back('"');
                    ++i;
                }
                // An even run leaves the quote to be read as a quote below.
            } else {
                current.append(count, '\\');
            }
            continue;
        }
        if (c == '"') {
            inArgument = true;
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                current.push_back('"');
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        current.push_back(c);
        inArgument = true;
        ++i;
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace hinagiku::platform

namespace hinagiku::platform {

std::string quoteCommandLineArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(argument);
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
            out.push_back('"');
        } else {
            out.append(backslashes, '\\');
            out.push_back(c);
        }
        backslashes = 0;
    }
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

std::string joinCommandLine(const std::vector<std::string>& arguments) {
    std::string out;
    for (const auto& argument : arguments) {
        if (!out.empty())
            out.push_back(' ');
        out.append(quoteCommandLineArgument(argument));
    }
    return out;
}

}  // namespace hinagiku::platform
