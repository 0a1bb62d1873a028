// POP3 replies from a server: line assembly from arbitrary splits, the
// positive test and the STAT numbers.
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
    // The first byte chooses the segment size the stream arrives in.
    const std::size_t step = static_cast<std::size_t>(data[0] % 64) + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);
    hinagiku::mail::ReplyLineReader reader;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < stream.size(); i += step) {
        reader.feed(stream.substr(i, step), lines);
        if (reader.pendingBytes() > hinagiku::mail::ReplyLineReader::kMaxLineBytes)
            std::abort();
    }
    for (const std::string& line : lines) {
        if (line.size() > hinagiku::mail::ReplyLineReader::kMaxLineBytes)
            std::abort();
        (void)hinagiku::mail::isPositivePop3(line);
        const auto stat = hinagiku::mail::parseStat(line);
        if (stat.count < 0 || stat.size < 0)
            std::abort();
        if (hinagiku::mail::printableReply(line).size() > 512)
            std::abort();
    }
    return 0;
}
