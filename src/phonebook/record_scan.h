#pragma once

// Byte-level scanning shared by the tab reader and writer. The reader looks
// at every byte of a tab (a full one is 800 KB), so quotes are found with
// memchr and field ends with one table look-up a byte; whether a lead byte
// took the byte found along is decided afterwards, looking back.

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/cp932.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace hinagiku::phonebook::scan {

enum ByteClass : unsigned char {
    kPlain = 0,
    kLead = 1,     // first byte of a CP932 double-byte character
    kBlank = 2,    // 0x00-0x20 except CR and LF
    kLineEnd = 3,  // CR, LF
    kComma = 4,
    kQuote = 5,
};

constexpr std::array<unsigned char, 256> makeClasses() {
    std::array<unsigned char, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        const auto u = static_cast<unsigned char>(b);
        if (b == '\r' || b == '\n')
            classes[u] = kLineEnd;
        else if (b <= 0x20)
            classes[u] = kBlank;
        else if (b == ',')
            classes[u] = kComma;
        else if (b == '"')
            classes[u] = kQuote;
        else if (platform::isCp932LeadByte(u))
            classes[u] = kLead;
        else
            classes[u] = kPlain;
    }
    return classes;
}

inline constexpr std::array<unsigned char, 256> kClasses = makeClasses();

inline bool isLineEnd(unsigned char b) {
    return kClasses[b] == kLineEnd;
}

// Whether the byte at `at` is the trail byte of a double-byte character,
// given that `from` (<= at) starts a character. A byte outside the lead-byte
// range always ends a character, so only the run of lead-range bytes right
// before `at` matters: they pair up from its start, and an odd one out takes
// `at` along (a line end is never taken).
inline bool takenAsTrail(const unsigned char* p, std::size_t from, std::size_t at) {
    if (isLineEnd(p[at]))
        return false;
    std::size_t run = 0;
    while (at > from + run && kClasses[p[at - run - 1]] == kLead)
        ++run;
    return (run & 1U) != 0;
}

// From inside a quoted field (`i` starts a character): the index of its
// closing quote (a doubled quote is skipped over, not returned), or n when
// it never closes.
inline std::size_t closingQuote(const unsigned char* p, std::size_t i, std::size_t n) {
    std::size_t from = i;
    while (i < n) {
        const void* hit = std::memchr(p + i, '"', n - i);
        if (hit == nullptr)
            return n;
        const auto q = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p);
        if (takenAsTrail(p, from, q)) {
            i = from = q + 1;
            continue;
        }
        if (q + 1 < n && p[q + 1] == '"') {
            i = from = q + 2;
            continue;
        }
        return q;
    }
    return n;
}

// Bytes that can end an unquoted field: blanks, line ends and commas.
constexpr std::array<bool, 256> makeFieldEnds() {
    std::array<bool, 256> ends{};
    for (int b = 0; b <= 0x20; ++b)
        ends[static_cast<unsigned char>(b)] = true;
    ends[','] = true;
    return ends;
}

inline constexpr std::array<bool, 256> kFieldEnds = makeFieldEnds();

// From the start of an unquoted field: the first byte past it (a blank, a
// comma, a line end or the end). A quote inside it is an ordinary byte, and
// a lead byte takes a blank or comma after it along.
inline std::size_t unquotedEnd(const unsigned char* p, std::size_t i, std::size_t n) {
    std::size_t from = i;
    for (;;) {
        while (i < n && !kFieldEnds[p[i]])
            ++i;
        if (i == n || !takenAsTrail(p, from, i))
            return i;
        i = from = i + 1;
    }
}

// Appends the quoted field whose text starts at i to `out`, a doubled quote
// as one; returns the index of the closing quote, or n when it never closes
// (the rest is the field then). Finds the quotes as closingQuote does.
inline std::size_t appendQuoted(const unsigned char* p, std::size_t i, std::size_t n,
                                std::string& out) {
    const char* text = reinterpret_cast<const char*>(p);
    std::size_t from = i;  // not copied yet; starts a character
    while (i < n) {
        const void* hit = std::memchr(p + i, '"', n - i);
        if (hit == nullptr)
            break;
        const auto q = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p);
        if (takenAsTrail(p, from, q)) {
            i = q + 1;
            continue;
        }
        if (q + 1 < n && p[q + 1] == '"') {
            out.append(text + from, q + 1 - from);
            i = from = q + 2;
            continue;
        }
        out.append(text + from, q - from);
        return q;
    }
    out.append(text + from, n - from);
    return n;
}

// Reads the fields of one record from i, calling field(index, std::string&&)
// for each; a single space reads as an empty field. With `stopAtLineEnd` the
// record ends at a line end outside quotes and its index is returned;
// otherwise line ends count as blanks and n is returned. A quote that never
// closes returns npos when stopping at line ends (the file is read line by
// line then), and takes the rest as its field otherwise.
template <typename OnField>
std::size_t readFields(const unsigned char* p, std::size_t i, std::size_t n, bool stopAtLineEnd,
                       OnField&& field) {
    auto isBlank = [&](unsigned char b) {
        const unsigned char k = kClasses[b];
        return k == kBlank || (k == kLineEnd && !stopAtLineEnd);
    };
    auto skipBlanks = [&](std::size_t at) {
        while (at < n && isBlank(p[at]))
            ++at;
        return at;
    };
    std::size_t index = 0;
    i = skipBlanks(i);
    while (i < n && !(stopAtLineEnd && isLineEnd(p[i]))) {
        std::string text;
        if (p[i] == '"') {
            const std::size_t close = appendQuoted(p, i + 1, n, text);
            if (close == n && stopAtLineEnd)
                return std::string_view::npos;
            i = close < n ? close + 1 : n;
        } else {
            const std::size_t end = unquotedEnd(p, i, n);
            text.assign(reinterpret_cast<const char*>(p) + i, end - i);
            i = end;
        }
        if (text.size() == 1 && text[0] == ' ')
            text.clear();
        field(index++, std::move(text));
        i = skipBlanks(i);
        if (i < n && p[i] == ',')
            i = skipBlanks(i + 1);
    }
    return i;
}

// What writing a cell takes: whether it goes in quotes (a byte 0x00-0x20, a
// quote or a comma) and how many quotes it holds (each is doubled).
struct CellShape {
    bool quoted = false;
    std::size_t quotes = 0;
};

inline CellShape cellShape(std::string_view cell) {
    CellShape shape;
    const auto* p = reinterpret_cast<const unsigned char*>(cell.data());
    const std::size_t n = cell.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: cells run to kilobytes. Quotes are counted in
    // sixteen byte-wide counters, summed before they can overflow.
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i zero = _mm_setzero_si128();
    __m128i special = zero;
    __m128i counts = zero;
    __m128i sums = zero;
    int pending = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(v, space), v);  // v <= 0x20
        const __m128i quotes = _mm_cmpeq_epi8(v, quote);
        const __m128i commas = _mm_cmpeq_epi8(v, comma);
        special = _mm_or_si128(special, _mm_or_si128(low, _mm_or_si128(quotes, commas)));
        counts = _mm_sub_epi8(counts, quotes);  // a match is -1
        if (++pending == 255) {
            sums = _mm_add_epi64(sums, _mm_sad_epu8(counts, zero));
            counts = zero;
            pending = 0;
        }
    }
    sums = _mm_add_epi64(sums, _mm_sad_epu8(counts, zero));
    shape.quotes = static_cast<std::size_t>(_mm_cvtsi128_si64(sums)) +
                   static_cast<std::size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    shape.quoted = _mm_movemask_epi8(special) != 0;
#endif
    for (; i < n; ++i) {
        const unsigned char b = p[i];
        shape.quoted = shape.quoted || b <= 0x20 || b == '"' || b == ',';
        shape.quotes += b == '"' ? 1 : 0;
    }
    return shape;
}

}  // namespace hinagiku::phonebook::scan
