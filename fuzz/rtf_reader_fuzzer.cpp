// Feeds arbitrary bytes to the entry reader and checks, besides the
// sanitizers, that what the writer makes of the result is stable: writing,
// reading and writing again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hinagiku::richtext;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RichText text = readRichText(bytes);
    const std::string plain = entryPlainText(bytes);
    if (plain != plainText(text)) {
        std::fprintf(stderr, "entryPlainText differs from the document's plain text\n");
        std::abort();
    }
    const std::string first = writeRtf(text);
    const RichText again = readRtf(first);
    if (plainText(again) != plain) {
        std::fprintf(stderr, "the written RTF has another plain text\n");
        std::abort();
    }
    const std::string second = writeRtf(again);
    if (first != second) {
        std::fprintf(stderr, "write, read, write changed the bytes:\n%s\n----\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
