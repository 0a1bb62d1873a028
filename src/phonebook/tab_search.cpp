#include "phonebook/tab_search.h"

#include "phonebook/tab_file.h"
#include "phonebook/tab_grid.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"

namespace hinagiku::phonebook {

bool containsAtCharacterStart(std::string_view haystack, std::string_view needle) {
    if (needle.empty() || needle.size() > haystack.size())
        return false;
    // Candidates by a plain byte search; the character walk runs only as far
    // as the candidates need it.
    std::size_t boundary = 0;
    std::size_t at = haystack.find(needle);
    while (at != std::string_view::npos) {
        while (boundary < at)
            boundary +=
                platform::isCp932LeadByte(static_cast<unsigned char>(haystack[boundary])) ? 2 : 1;
        if (boundary == at)
            return true;
        at = haystack.find(needle, at + 1);
    }
    return false;
}

SearchResult searchTabs(const std::filesystem::path& folder, std::string_view needle) {
    SearchResult result;
    if (needle.empty())
        return result;
    std::string buffer;
    for (int tab = 0; tab < kIndexTabCount; ++tab) {
        TabFile file = readTabBytes(folder, tab, std::move(buffer));
        buffer = std::move(file.bytes);
        // Only a file holding the bytes somewhere has records to look at.
        if (!file.exists || std::string_view(buffer).find(needle) == std::string_view::npos)
            continue;
        const auto records = tabRecords(buffer);
        for (std::size_t r = 0; r < records.size(); ++r) {
            if (!containsAtCharacterStart(records[r], needle))
                continue;
            if (result.hits.size() < static_cast<std::size_t>(kRowCount))
                result.hits.push_back({tab, static_cast<int>(r), std::string(records[r])});
            else
                ++result.leftOut;
        }
    }
    return result;
}

std::string encodeResults(const SearchResult& result) {
    std::string out;
    for (const auto& hit : result.hits) {
        out.append(hit.bytes);
        out.append("\r\n");
    }
    return out;
}

SearchResult searchAndStore(const std::filesystem::path& folder, std::string_view needle) {
    SearchResult result = searchTabs(folder, needle);
    const auto found = findTabFile(folder, kSearchTab);
    const std::filesystem::path path = found ? *found : folder / tabFileName(kSearchTab);
    // The results tab is the program's own output: it is replaced even when
    // a hand edit left it damaged, but never when it is not a regular file.
    std::error_code ec;
    if (found && !std::filesystem::is_regular_file(path, ec))
        throw platform::IoError(path.string() + ": 通常のファイルではありません");
    platform::writeFileAtomically(path, encodeResults(result));
    return result;
}

}  // namespace hinagiku::phonebook
