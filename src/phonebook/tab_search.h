#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::phonebook {

// Whether `needle` (CP932 bytes) occurs in `haystack` starting at a
// character start: "@" (40) never matches the trail byte of "ァ" (83 40).
bool containsAtCharacterStart(std::string_view haystack, std::string_view needle);

struct SearchHit {
    int tab = 0;
    int record = 0;  // record (row) number in its tab
    std::string bytes;
};

struct SearchResult {
    std::vector<SearchHit> hits;  // at most 256, in tab order
    int leftOut = 0;              // matches past the first 256
};

// Searches the records of tabs 0-11 in `folder` (damaged ones too) for the
// CP932 bytes `needle`. An empty needle finds nothing.
SearchResult searchTabs(const std::filesystem::path& folder, std::string_view needle);

// The results file: each hit's bytes with CR LF.
std::string encodeResults(const SearchResult& result);

// Searches and replaces 12.CSV (under its name on disk) with the results.
// Throws platform::IoError when the file cannot be written.
SearchResult searchAndStore(const std::filesystem::path& folder, std::string_view needle);

}  // namespace hinagiku::phonebook
