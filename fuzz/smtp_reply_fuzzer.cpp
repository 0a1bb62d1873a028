// SMTP replies from a server: line assembly from arbitrary splits and the
// reply code with its continuation mark.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "mail/replies.h"
#include "mail/reply_line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::size_t step = static_cast<std::size_t>(data[0] % 64) + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);
    hinagiku::mail::ReplyLineReader reader;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < stream.size(); i += step)
        reader.feed(stream.substr(i, step), lines);
    for (const std::string& line : lines) {
        const auto reply = hinagiku::mail::parseSmtpLine(line);
        if (reply.code != -1 && (reply.code < 0 || reply.code > 999))
            std::abort();
        if (reply.code == -1 && reply.continues)
            std::abort();
    }
    return 0;
}
