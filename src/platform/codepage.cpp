#include "platform/codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <unordered_map>

#include "platform/cp932.h"

namespace hinagiku::platform {
namespace {

const char* iconvName(int codePage) {
    switch (codePage) {
        case 437:
            return "CP437";
        case 850:
            return "CP850";
        case 874:
            return "CP874";
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 949:
            return "CP949";
        case 950:
            return "CP950";
        case 1250:
            return "CP1250";
        case 1251:
            return "CP1251";
        case 1252:
            return "CP1252";
        case 1253:
            return "CP1253";
        case 1254:
            return "CP1254";
        case 1255:
            return "CP1255";
        case 1256:
            return "CP1256";
        case 1257:
            return "CP1257";
        case 1258:
            return "CP1258";
        case 1361:
            return "JOHAB";
        case 10000:
            return "MACINTOSH";
        default:
            return nullptr;
    }
}

// One descriptor per code page and thread: iconv keeps shift state.
class Decoder {
  public:
    explicit Decoder(const char* from) : cd_(iconv_open("UTF-8", from)) {}
    ~Decoder() {
        if (valid())
            iconv_close(cd_);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Appends the UTF-8 form of `in` to `out`; bytes that do not decode
    // become U+FFFD one at a time, so the rest of the text survives.
    void decode(std::string_view in, std::string& out) {
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
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                out.append("\xEF\xBF\xBD");
                in.remove_prefix(1);
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
    }

  private:
    iconv_t cd_;
};

Decoder* decoderFor(int codePage) {
    thread_local std::unordered_map<int, std::unique_ptr<Decoder>> decoders;
    auto& slot = decoders[codePage];
    if (!slot) {
        const char* name = iconvName(codePage);
        slot = std::make_unique<Decoder>(name ? name : "CP1252");
    }
    return slot->valid() ? slot.get() : nullptr;
}

}  // namespace

bool isSupportedCodePage(int codePage) {
    return iconvName(codePage) != nullptr;
}

std::string fromCodePage(std::string_view bytes, int codePage) {
    if (isAscii(bytes))
        return std::string(bytes);
    if (codePage == 932)
        return fromCp932(bytes);
    if (!isSupportedCodePage(codePage))
        codePage = 1252;
    std::string out;
    out.reserve(bytes.size() * 2);
    if (Decoder* decoder = decoderFor(codePage)) {
        decoder->decode(bytes, out);
    } else {
        // The C library lacks the table: keep ASCII, mark the rest.
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80)
                out.push_back(c);
            else
                out.append("\xEF\xBF\xBD");
        }
    }
    return out;
}

bool isCodePageLeadByte(int codePage, unsigned char byte) {
    switch (codePage) {
        case 932:
            return isCp932LeadByte(byte);
        case 936:
        case 949:
        case 950:
            return byte >= 0x81 && byte <= 0xFE;
        case 1361:
            return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xF9);
        default:
            return false;
    }
}

}  // namespace hinagiku::platform
