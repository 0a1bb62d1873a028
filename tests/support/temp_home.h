#pragma once

#include <filesystem>
#include <string>

namespace hinagiku::testing {

// A fresh home folder for one test: HINAGIKU_HOME points at it while the
// object lives; the folder is removed afterwards.
class TempHome {
  public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path iniPath() const { return path_ / "hinagiku.ini"; }
    // Writes a file below the home folder (bytes as given), creating folders.
    void writeFile(const std::string& relative, const std::string& bytes) const;
    std::string readFile(const std::string& relative) const;

  private:
    std::filesystem::path path_;
    std::string previous_;
    bool hadPrevious_ = false;
};

}  // namespace hinagiku::testing
