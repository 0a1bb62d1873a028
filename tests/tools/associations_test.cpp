#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"
#include "tools/file_associations.h"

namespace hinagiku::tools {
namespace {

TEST(Associations, DropRequestsByExtension) {
    platform::MemorySettings settings;
    settings.writeText("Ext_Exec", ".txt", "/usr/bin/viewer?/view");
    settings.writeText("Ext_Exec", ".log", "?/usr/bin/tail");
    settings.writeText("Ext_Exec", ".none", "");
    settings.writeText("Ext_Form", "Exec", "/usr/bin/default");
    struct Case {
        const char* path;
        bool skipped;
        std::string program, parameters;
    } cases[] = {
        {"/d/REPORT.TXT", false, "/usr/bin/viewer", "/view"},
        {"/d/x.log", false, "/usr/bin/tail", ""},
        {"/d/.bashrc", false, "/usr/bin/default", ""},
        {"/d/noext", false, "/usr/bin/default", ""},
        {"/d/a.none", true, "", ""},
        {"/d/b.unknown", false, "/usr/bin/default", ""},
    };
    for (const Case& c : cases) {
        const auto request = dropRequest(settings, c.path);
        ASSERT_EQ(!request.has_value(), c.skipped) << c.path;
        if (!request)
            continue;
        EXPECT_EQ(request->program, c.program) << c.path;
        EXPECT_EQ(request->parameters, c.parameters) << c.path;
        EXPECT_EQ(request->extraArguments, std::vector<std::string>{c.path}) << c.path;
    }
    settings.writeText("Ext_Form", "Exec", "");
    EXPECT_FALSE(dropRequest(settings, "/d/b.unknown").has_value());
}

TEST(Associations, AThousandRowsSurviveTheEditorsSave) {
    testing::TempHome home;
    platform::ProfileFile settings(home.iniPath());
    std::vector<Association> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back({".extension" + std::to_string(i), "/opt/viewer" + std::to_string(i)});
    saveAssociations(settings, rows, "/usr/bin/xdg-open");
    EXPECT_EQ(readAssociations(settings), rows);
    EXPECT_EQ(settings.readText("Ext_Form", "Count", ""), "1000");
    EXPECT_EQ(defaultAssociation(settings), "/usr/bin/xdg-open");
    rows.erase(rows.begin() + 500, rows.end());
    saveAssociations(settings, rows, "");
    EXPECT_EQ(readAssociations(settings), rows);
}

TEST(Associations, ExtensionsTheFileCannotHoldAreRefused) {
    struct Case {
        const char* extension;
        bool refused;
    } cases[] = {{".txt", false}, {".TXT", false}, {".日本", false},  {"txt", true},
                 {".", true},     {".a=b", true},  {". txt", true},   {".txt ", true},
                 {".é", true},    {".[x]", true},  {".tar.gz", false}};
    for (const Case& c : cases)
        EXPECT_EQ(extensionProblem(c.extension).has_value(), c.refused) << c.extension;
    EXPECT_NE(commandProblem("/opt/é/app")->find("/opt/é/app"), std::string::npos);
    EXPECT_FALSE(commandProblem("/opt/アプリ/app?-x").has_value());
}

}  // namespace
}  // namespace hinagiku::tools
