// Windows shell links (.lnk) from anywhere, followed as the shortcut folder does.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/shortcut_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("hinagiku-lnk-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path / "prefix/dosdevices/c:");
        return path;
    }();
    const auto link = folder / "input.lnk";
    {
        std::ofstream out(link, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    (void)hinagiku::tools::readLnkShortcut(link, folder / "prefix");
    return 0;
}
