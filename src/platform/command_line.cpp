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
