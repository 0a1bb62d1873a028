#include "platform/desktop_program_launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/program_launcher.h"
#include "platform/recording_program_launcher.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

namespace fs = std::filesystem;

// A pretend file system: folders, plain files, program files and PATH.
LaunchProbe fakeProbe() {
    static const std::set<std::string> folders{"/home/u", "/home/u/Pictures", "/opt/tools"};
    static const std::set<std::string> files{"/home/u/notes.txt",     "/opt/tools/app",
                                             "/opt/tools/readme.txt", "/home/u/run.sh",
                                             "/usr/bin/gedit",        "/usr/bin/xdg-open"};
    static const std::set<std::string> programs{"/opt/tools/app", "/home/u/run.sh",
                                                "/usr/bin/gedit", "/usr/bin/xdg-open"};
    static const std::map<std::string, std::string> path{{"gedit", "/usr/bin/gedit"},
                                                         {"xdg-open", "/usr/bin/xdg-open"}};
    LaunchProbe probe;
    probe.isDirectory = [](const std::string& p) { return folders.count(p) != 0; };
    probe.isFile = [](const std::string& p) { return files.count(p) != 0; };
    probe.isProgram = [](const std::string& p) { return programs.count(p) != 0; };
    probe.findInPath = [](const std::string& name) {
        const auto it = path.find(name);
        return it == path.end() ? std::string() : it->second;
    };
    probe.homeFolder = "/home/u";
    return probe;
}

TEST(PlanLaunch, DecidesHowEachKindOfTargetStarts) {
    using Kind = LaunchPlan::Kind;
    struct Case {
        const char* program;
        const char* parameters;
        const char* workingFolder;
        Kind kind;
        const char* executable;
        std::vector<std::string> arguments;
        const char* folder;
    };
    const Case cases[] = {
        // A program runs in its own folder with its parameters split.
        {"/opt/tools/app",
         "-x \"my file.txt\"",
         "",
         Kind::Run,
         "/opt/tools/app",
         {"-x", "my file.txt"},
         "/opt/tools"},
        {"\"/opt/tools/app\"", "", "", Kind::Run, "/opt/tools/app", {}, "/opt/tools"},
        {"/opt/tools/app", "", "/home/u", Kind::Run, "/opt/tools/app", {}, "/home/u"},
        // A bare name: the working folder first, then PATH.
        {"gedit", "notes.txt", "", Kind::Run, "/usr/bin/gedit", {"notes.txt"}, ""},
        {"app", "", "/opt/tools", Kind::Run, "/opt/tools/app", {}, "/opt/tools"},
        {"~/run.sh", "a", "", Kind::Run, "/home/u/run.sh", {"a"}, "/home/u"},
        // Documents, folders and URLs go to the opener, without parameters.
        {"/home/u/notes.txt",
         "-ignored",
         "",
         Kind::Open,
         "/usr/bin/xdg-open",
         {"/home/u/notes.txt"},
         "/home/u"},
        {"readme.txt",
         "",
         "/opt/tools",
         Kind::Open,
         "/usr/bin/xdg-open",
         {"/opt/tools/readme.txt"},
         "/opt/tools"},
        {"/home/u/Pictures",
         "",
         "",
         Kind::Open,
         "/usr/bin/xdg-open",
         {"/home/u/Pictures"},
         "/home/u/Pictures"},
        {"https://example.org/?q=a b",
         "",
         "",
         Kind::Open,
         "/usr/bin/xdg-open",
         {"https://example.org/?q=a b"},
         ""},
        {"mailto:someone@example.org",
         "",
         "",
         Kind::Open,
         "/usr/bin/xdg-open",
         {"mailto:someone@example.org"},
         ""},
        // Nothing there.
        {"C:\\Tools\\app.exe", "-x", "", Kind::Missing, "", {}, ""},
        {"/opt/tools/missing", "", "", Kind::Missing, "", {}, ""},
        {"nosuchprogram", "", "", Kind::Missing, "", {}, ""},
        {"  ", "", "", Kind::Missing, "", {}, ""},
    };
    const LaunchProbe probe = fakeProbe();
    for (const auto& c : cases) {
        const LaunchPlan plan = planLaunch(c.program, c.parameters, c.workingFolder, probe);
        EXPECT_EQ(plan.kind, c.kind) << c.program;
        if (plan.kind != c.kind)
            continue;
        if (c.kind == Kind::Missing) {
            EXPECT_FALSE(plan.message.empty()) << c.program;
            continue;
        }
        EXPECT_EQ(plan.program, c.executable) << c.program;
        EXPECT_EQ(plan.arguments, c.arguments) << c.program;
        EXPECT_EQ(plan.workingFolder, c.folder) << c.program;
    }
}

TEST(PlanLaunch, WithoutAnOpenerADocumentCannotStart) {
    LaunchProbe probe = fakeProbe();
    probe.findInPath = [](const std::string&) { return std::string(); };
    const LaunchPlan plan = planLaunch("/home/u/notes.txt", "", "", probe);
    EXPECT_EQ(plan.kind, LaunchPlan::Kind::Missing);
    EXPECT_NE(plan.message.find("xdg-open"), std::string::npos);
}

TEST(LaunchProbe, ExecutableDataFilesAreNotPrograms) {
    testing::TempHome home;
    home.writeFile("script.sh", "#!/bin/sh\nexit 0\n");
    home.writeFile("data.txt", "hello\n");
    fs::permissions(home.path() / "script.sh", fs::perms::owner_all);
    fs::permissions(home.path() / "data.txt", fs::perms::owner_all);
    const LaunchProbe probe = LaunchProbe::system();
    EXPECT_TRUE(probe.isProgram((home.path() / "script.sh").string()));
    EXPECT_FALSE(probe.isProgram((home.path() / "data.txt").string()));
    EXPECT_FALSE(probe.isProgram(home.path().string()));
}

// Waits for a file a started program writes.
bool waitForFile(const fs::path& path) {
    for (int i = 0; i < 250; ++i) {
        std::error_code error;
        if (fs::exists(path, error) && fs::file_size(path, error) > 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

TEST(DesktopProgramLauncher, RunsAProgramInItsFolderWithItsParametersAndNoShell) {
    testing::TempHome home;
    // The script writes its working folder and each argument on a line.
    home.writeFile("tool folder/report.sh",
                   "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > out.tmp\n"
                   "mv out.tmp out.txt\n");
    const fs::path script = home.path() / "tool folder" / "report.sh";
    fs::permissions(script, fs::perms::owner_all);

    DesktopProgramLauncher launcher;
    const LaunchResult result =
        launcher.start(script.string(), "-x \"two words\" $HOME;echo `id` *");
    ASSERT_TRUE(result.started) << result.message;
    const fs::path out = home.path() / "tool folder" / "out.txt";
    ASSERT_TRUE(waitForFile(out));
    std::ifstream in(out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    const std::vector<std::string> expected{fs::canonical(script.parent_path()).string(),
                                            "[-x]",
                                            "[two words]",
                                            "[$HOME;echo]",
                                            "[`id`]",
                                            "[*]"};
    EXPECT_EQ(lines, expected);
}

TEST(DesktopProgramLauncher, ReportsWhatCannotStart) {
    testing::TempHome home;
    home.writeFile("broken",
                   "\x7f"
                   "ELF not really a program");
    fs::permissions(home.path() / "broken", fs::perms::owner_all);
    DesktopProgramLauncher launcher;
    struct Case {
        std::string program;
    };
    const Case cases[] = {
        {(home.path() / "missing-tool").string()}, {(home.path() / "broken").string()}, {""}};
    for (const auto& c : cases) {
        const LaunchResult result = launcher.start(c.program, "-x");
        EXPECT_FALSE(result.started) << c.program;
        EXPECT_FALSE(result.message.empty()) << c.program;
    }
}

TEST(DesktopProgramLauncher, NamesThatAreNotUtf8ArriveAsTheirBytes) {
    testing::TempHome home;
    // A folder and an argument named in CP932, as a Windows archive leaves them.
    const std::string folder = "\x83\x5c\x83\x74\x83\x67";  // "ソフト"
    home.writeFile(folder + "/report.sh",
                   "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > out.tmp\n"
                   "mv out.tmp out.txt\n");
    const fs::path script = home.path() / folder / "report.sh";
    fs::permissions(script, fs::perms::owner_all);
    const std::string argument = (home.path() / folder / "\x83\x81\x83\x82.txt").string();

    DesktopProgramLauncher launcher;
    const LaunchResult result = launcher.start(script.string(), "\"" + argument + "\"");
    ASSERT_TRUE(result.started) << result.message;
    const fs::path out = home.path() / folder / "out.txt";
    ASSERT_TRUE(waitForFile(out));
    std::ifstream in(out, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, argument + "\n");
}

TEST(PlanLaunch, DesktopEntriesStartByTheirExecLine) {
    LaunchProbe probe = fakeProbe();
    const auto isFile = probe.isFile;
    probe.isFile = [isFile](const std::string& p) {
        return p == "/home/u/Editor.DESKTOP" || isFile(p);
    };
    const LaunchPlan plan = planLaunch("/home/u/Editor.DESKTOP", "\"a b.txt\" c", "", probe);
    EXPECT_EQ(plan.kind, LaunchPlan::Kind::Desktop);
    EXPECT_EQ(plan.program, "/home/u/Editor.DESKTOP");
    EXPECT_EQ(plan.arguments, (std::vector<std::string>{"a b.txt", "c"}));
}

TEST(ProgramLauncher, TheInstalledDoubleReceivesEveryRequest) {
    RecordingProgramLauncher recorder;
    recorder.setResult({false, "no"});
    setProgramLauncher(&recorder);
    const LaunchResult result = programLauncher().start("/opt/app", "-v", "/opt");
    setProgramLauncher(nullptr);
    EXPECT_FALSE(result.started);
    ASSERT_EQ(recorder.calls().size(), 1u);
    EXPECT_EQ(recorder.calls()[0].program, "/opt/app");
    EXPECT_EQ(recorder.calls()[0].parameters, "-v");
    EXPECT_EQ(recorder.calls()[0].workingFolder, "/opt");
    EXPECT_NE(&programLauncher(), static_cast<ProgramLauncher*>(&recorder));
}

}  // namespace
}  // namespace hinagiku::platform
