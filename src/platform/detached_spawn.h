#pragma once

#include <string>
#include <vector>

namespace hinagiku::platform {

// Starts `program` with `arguments` in `workingFolder` (empty: ours) as a
// process of its own session that nobody waits for, its input from
// /dev/null. Paths and arguments go to the system as their bytes, so names
// that are not UTF-8 (a Windows archive's CP932 names) arrive unchanged.
// Returns an empty text on success, else why it could not start.
std::string spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder);

}  // namespace hinagiku::platform
