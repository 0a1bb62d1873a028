// Internet shortcut (.url) files from anywhere: the reader must end on every input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/shortcut_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)hinagiku::tools::readUrlShortcut(bytes);
    return 0;
}
