// The cycle file as it may come from elsewhere: any bytes as Period.ini are
// opened by the tracker, a date is added and a memo written, and the names
// and entries the register and tracker parse are tried on the same bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "birthday/register_list.h"
#include "cycle/cycle_file.h"
#include "cycle/cycle_math.h"
#include "cycle/cycle_tracker.h"
#include "platform/atomic_file.h"
#include "platform/memory_settings.h"

namespace {

// One folder for the whole run, removed when the program ends normally.
struct Folder {
    std::filesystem::path path;
    Folder() {
        path = std::filesystem::temp_directory_path() /
               ("hinagiku-cycle-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::filesystem::path& folder() {
    static const Folder folder;
    return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hinagiku;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)birthday::birthDateOfEntry(bytes);
    (void)cycle::entryDay(bytes);
    (void)cycle::wholeNumber(bytes);

    platform::writeFileAtomically(folder() / "Period.ini", bytes);
    platform::MemorySettings settings;
    cycle::CycleFile file(settings, folder());
    cycle::CycleTracker tracker(file);
    tracker.open();
    tracker.add({2001, 1, 3});
    tracker.setMemo(std::string(bytes.substr(0, 64)));
    tracker.setField(cycle::Field::R, std::string(bytes.substr(0, 3)));
    tracker.chooseForecast(cycle::Forecast::Alternating, 1);
    (void)tracker.takeWriteErrors();
    return 0;
}
