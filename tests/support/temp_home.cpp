#include "support/temp_home.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace hinagiku::testing {

TempHome::TempHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "hinagiku-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (const char* old = std::getenv("HINAGIKU_HOME")) {
        previous_ = old;
        hadPrevious_ = true;
    }
    setenv("HINAGIKU_HOME", path_.c_str(), 1);
}

TempHome::~TempHome() {
    if (hadPrevious_)
        setenv("HINAGIKU_HOME", previous_.c_str(), 1);
    else
        unsetenv("HINAGIKU_HOME");
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TempHome::writeFile(const std::string& relative, const std::string& bytes) const {
    const auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

std::string TempHome::readFile(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace hinagiku::testing
