#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

// What became of a start request. A failure carries a message (UTF-8) that a
// caller may show; many callers ignore it.
struct LaunchResult {
    bool started = false;
    std::string message;
};

// Starts programs, documents, folders and URLs the way a desktop's "open"
// does. Nothing waits for the started program, and nothing goes through a
// shell.
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;

    // `program` is an executable (a path, or a bare name found on PATH), a
    // document, a folder or a URL. An executable runs with `parameters` split
    // like a Windows command line (splitCommandLine) in `workingFolder`; when
    // that is empty, one named by a path runs in its own folder and one named
    // by a bare name in the caller's. Anything else goes to the desktop's
    // opener, without the parameters.
    virtual LaunchResult start(const std::string& program, const std::string& parameters = {},
                               const std::string& workingFolder = {}) = 0;
};

// The launcher every window uses: the desktop's (DesktopProgramLauncher)
// unless another one (a test double) is installed; nullptr returns to the
// desktop's. Use from the user-interface thread.
ProgramLauncher& programLauncher();
void setProgramLauncher(ProgramLauncher* launcher);

// How the file system answers the questions planLaunch asks; system() asks
// the real one, tests give their own.
struct LaunchProbe {
    std::function<bool(const std::string&)> isDirectory;
    std::function<bool(const std::string&)> isFile;
    // A regular file that can be executed as a program: execute permission
    // and an ELF or "#!" start (files on removable media often carry the
    // execute bit without being programs).
    std::function<bool(const std::string&)> isProgram;
    // Full path of an executable found on PATH; empty when there is none.
    std::function<std::string(const std::string&)> findInPath;
    std::string homeFolder;

    static LaunchProbe system();
};

// What a start request comes to, decided without starting anything.
struct LaunchPlan {
    // Desktop: a desktop entry (.desktop) started by its Exec line; the
    // arguments are the files given to it.
    enum class Kind { Run, Open, Desktop, Missing };
    Kind kind = Kind::Missing;
    std::string program;                 // the file to execute (for Open: the opener)
    std::vector<std::string> arguments;  // for Open: the document, folder or URL
    std::string workingFolder;           // empty: the caller's
    std::string message;                 // for Missing: why
};

// Whether `text` starts with a URL scheme: two or more letters (then letters,
// digits, "+", "-", ".") and a colon, so that a drive letter "C:" is none.
bool looksLikeUrl(std::string_view text);

// Decides how `program` is started (see ProgramLauncher::start). The program
// text may be quoted and may start with "~/". A relative path is looked up in
// `workingFolder` first; a bare name also on PATH. A URL is anything that
// starts with a scheme of two or more letters and a colon (so "C:" is not).
LaunchPlan planLaunch(std::string_view program, std::string_view parameters,
                      std::string_view workingFolder, const LaunchProbe& probe);

}  // namespace hinagiku::platform
