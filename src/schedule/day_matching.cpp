#include "schedule/day_matching.h"

#include "schedule/entry_files.h"
#include "schedule/snapshot_store.h"

namespace hinagiku::schedule {

std::vector<DayMatch> EntriesForDay(DateTime date, const platform::Settings& settings) {
    const SnapshotStore store(scheduleFolder(settings));
    const DayFacts facts(settings);
    return EntriesForDay(date, store, facts);
}

std::vector<DayMatch> EntriesForDay(DateTime date, const EntryStore& store, const DayFacts& facts,
                                    WeekSearchOrder order) {
    std::vector<DayMatch> matches;
    ToDoProbeOptions options;
    options.order = order;
    for (auto& hit : probeToDoDay(dayNumber(date), store, facts, options)) {
        DayMatch match;
        match.path = store.pathOf(hit.name);
        match.kind = hit.kind;
        match.shift = hit.shift;
        if (hit.kind == EntryKind::Birthday) {
            match.family = EntryFamily::Birthday;
            const DecodedEntry decoded = decodeEntryName(hit.name);
            if (decoded.year > 0)
                match.birthYear = decoded.year;
        }
        match.name = std::move(hit.name);
        matches.push_back(std::move(match));
    }
    return matches;
}

}  // namespace hinagiku::schedule
