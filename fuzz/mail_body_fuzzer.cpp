// Popup texts into a mail body: whatever the text, the output is 7-bit,
// every line ends in CR LF, fits 998 bytes and returns to ASCII.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "mail/iso2022jp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string out;
    hinagiku::mail::appendIso2022JpText(text, out);
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find("\r\n", start);
        if (end == std::string::npos)
            std::abort();
        const std::string_view line(out.data() + start, end - start);
        if (line.size() > 998 || line.find('\r') != std::string_view::npos ||
            line.find('\n') != std::string_view::npos)
            std::abort();
        const std::size_t esc = line.rfind('\x1B');
        if (esc != std::string_view::npos && line.substr(esc, 3) != "\x1B(B")
            std::abort();
        for (const char c : line) {
            if (static_cast<unsigned char>(c) >= 0x80)
                std::abort();
        }
        start = end + 2;
    }
    return 0;
}
