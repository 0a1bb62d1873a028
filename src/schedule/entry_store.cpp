#include "schedule/entry_store.h"

#include "core/data_folders.h"

namespace hinagiku::schedule {

std::string EntryStore::pathOf(std::string_view name) const {
    return core::joinPath(folder(), name);
}

}  // namespace hinagiku::schedule
