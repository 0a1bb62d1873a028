// The settings file of a long-used installation: 2,000 keys in 100 sections.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/profile_file.h"

namespace {

std::filesystem::path makeFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "hinagiku-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    const std::filesystem::path path = std::filesystem::path(pattern) / "hinagiku.ini";
    std::ofstream out(path, std::ios::binary);
    for (int s = 0; s < 100; ++s) {
        out << "[Section" << s << "]\r\n";
        for (int k = 0; k < 20; ++k)
            out << "Key_" << k << "=value number " << s * 20 + k << "\r\n";
    }
    return path;
}

const std::filesystem::path& benchFile() {
    static const std::filesystem::path path = makeFile();
    return path;
}

void BM_ReadText(benchmark::State& state) {
    hinagiku::platform::ProfileFile ini(benchFile());
    for (auto _ : state) {
        // A key in the last section: the whole file is scanned.
        benchmark::DoNotOptimize(ini.readText("Section99", "Key_19", ""));
    }
}
BENCHMARK(BM_ReadText);

void BM_WriteInt(benchmark::State& state) {
    hinagiku::platform::ProfileFile ini(benchFile());
    int value = 0;
    for (auto _ : state)
        ini.writeInt("Section50", "Key_10", ++value);
}
BENCHMARK(BM_WriteInt);

}  // namespace

BENCHMARK_MAIN();
