#include "platform/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace hinagiku::platform {
namespace {

// One iconv descriptor per direction and thread, opened on first use; iconv
// keeps shift state, so a descriptor must not be shared between threads.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns false and leaves `in` at the
    // offending input when a sequence cannot be converted.
    enum class Stop { Done, Invalid, Incomplete };
    Stop convert(std::string_view& in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 4096> buffer{};
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer.data();
            std::size_t dstLeft = buffer.size();
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer.data(), buffer.size() - dstLeft);
            in.remove_prefix(in.size() - srcLeft);
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                return errno == EINVAL ? Stop::Incomplete : Stop::Invalid;
            }
        }
        return Stop::Done;
    }

  private:
    iconv_t cd_;
};

Converter& toCp932Converter() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter& fromCp932Converter() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

// Length of the (possibly broken) UTF-8 sequence at the start of `s`, so that
// one replacement stands for one character, and a stray byte for itself.
std::size_t utf8SequenceLength(std::string_view s) {
    const auto b = static_cast<unsigned char>(s.front());
    std::size_t n = 1;
    if (b >= 0xF0 && b <= 0xF4)
        n = 4;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3;
    else if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    std::size_t length = 1;
    while (length < n && length < s.size() &&
           (static_cast<unsigned char>(s[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

}  // namespace

std::string toCp932(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    while (toCp932Converter().convert(utf8, out) != Converter::Stop::Done) {
        out.push_back('?');
        utf8.remove_prefix(utf8SequenceLength(utf8));
    }
    return out;
}

std::string fromCp932(std::string_view bytes) {
    if (isAscii(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    while (fromCp932Converter().convert(bytes, out) != Converter::Stop::Done) {
        out.append("\xEF\xBF\xBD");  // U+FFFD
        bytes.remove_prefix(1);
    }
    return out;
}

std::size_t cp932PrefixLength(std::string_view bytes, std::size_t maxBytes) {
    if (bytes.size() <= maxBytes)
        return bytes.size();
    std::size_t i = 0;
    while (i < maxBytes) {
        const std::size_t step = isCp932LeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + step > maxBytes)
            break;
        i += step;
    }
    return i;
}

std::size_t cp932Length(std::string_view utf8) {
    return toCp932(utf8).size();
}

bool fitsCp932(std::string_view utf8) {
    if (isAscii(utf8))
        return true;
    std::string out;
    return toCp932Converter().convert(utf8, out) == Converter::Stop::Done;
}

}  // namespace hinagiku::platform
