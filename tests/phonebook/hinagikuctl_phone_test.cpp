// Runs the built hinagikuctl phone commands on a temporary home folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "support/process_run.h"
#include "support/temp_home.h"

namespace {

namespace fs = std::filesystem;
using hinagiku::testing::ProcessOutcome;

class PhoneCtl : public ::testing::Test {
  protected:
    void SetUp() override {
        home.writeFile("hinagiku.ini",
                       "[Calendar]\r\nDirectory=" + (home.path() / "data").string() +
                           "\r\n[TelePhone]\r\nSleep=50\r\n");
        fs::create_directories(home.path() / "data");
    }
    ProcessOutcome run(std::vector<std::string> args) const {
        args.insert(args.begin(), hinagiku::testing::builtProgram("hinagikuctl"));
        return hinagiku::testing::runProcess(args);
    }
    // Feeds `input` on standard input through a file.
    ProcessOutcome write(const std::string& tab, const std::string& input) const {
        const fs::path in = home.path() / "stdin.txt";
        FILE* f = fopen(in.c_str(), "wb");
        fwrite(input.data(), 1, input.size(), f);
        fclose(f);
        const std::string command = hinagiku::testing::builtProgram("hinagikuctl") +
                                    " phone write " + tab + " < " + in.string() + " 2>/dev/null";
        ProcessOutcome outcome;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            outcome.out.append(buffer, n);
        const int status = pclose(pipe);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return outcome;
    }
    std::string tabPath(const std::string& name) const {
        return (home.path() / "data" / "Tel" / name).string();
    }
    hinagiku::testing::TempHome home;
};

TEST_F(PhoneCtl, WriteThenReadRoundTripsEscapes) {
    const std::string rows = "7\t日本\t\\xED@\ta\\tb\t\t\t192.0.2.1\n0\tACME\t佐藤\t03-1\t\t\t\n";
    const ProcessOutcome w = write("3", rows);
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(w.out, "saved\t" + tabPath("3.CSV") + "\n");
    const ProcessOutcome r = run({"phone", "read", "3"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0\tACME\t佐藤\t03-1\t\t\t\n7\t日本\t\\xED@\ta\\tb\t\t\t192.0.2.1\n");
    // The same rows again change nothing.
    EXPECT_EQ(write("3", rows).out, "unchanged\t" + tabPath("3.CSV") + "\n");
}

TEST_F(PhoneCtl, WriteRefusals) {
    home.writeFile("data/Tel/4.csv", "keep\r\n");
    const std::string cases[] = {
        "256\ta\tb\tc\td\te\tf\n",
        "1\ta\tb\tc\td\te\tf\n1\ta\tb\tc\td\te\tf\n",
        "1\ta\tb\tc\n",
        "1\ta\\q\tb\tc\td\te\tf\n",
        "1\t😀\tb\tc\td\te\tf\n",
        "1\t" + std::string(4090, 'x') + "\tb\tc\td\te\tf\n",
        "1\ta\\x81\t\t\t\t\t\n",
    };
    for (const auto& input : cases) {
        const ProcessOutcome w = write("4", input);
        EXPECT_EQ(w.status, 3) << input.substr(0, 40);
        EXPECT_EQ(home.readFile("data/Tel/4.csv"), "keep\r\n");
    }
    // A damaged file there is never replaced.
    home.writeFile("data/Tel/5.CSV", "\"open\r\n");
    EXPECT_EQ(write("5", "0\ta\t\t\t\t\t\n").status, 3);
    EXPECT_EQ(home.readFile("data/Tel/5.CSV"), "\"open\r\n");
    EXPECT_EQ(run({"phone", "read", "13"}).status, 2);
}

TEST_F(PhoneCtl, DamagedReadShowsRowsWithStatus3) {
    home.writeFile("data/Tel/2.CSV", "a,b,c,d,e,f,g\r\n");
    const ProcessOutcome r = run({"phone", "read", "2"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "0\ta\tb\tc\td\te\tf\n");
    EXPECT_NE(r.err.find("2.CSV"), std::string::npos);
}

TEST_F(PhoneCtl, SearchWritesResults) {
    home.writeFile("data/Tel/0.CSV", "\"Sato, A\",x\r\nno\r\n");
    home.writeFile("data/Tel/9.CSV", "y,Sato\r\n");
    const ProcessOutcome s = run({"phone", "search", "Sato"});
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.out, "0\t0\tSato, A\tx\t\t\t\t\n9\t0\ty\tSato\t\t\t\t\n");
    EXPECT_EQ(home.readFile("data/Tel/12.CSV"), "\"Sato, A\",x\r\ny,Sato\r\n");
}

TEST_F(PhoneCtl, TonesWriteTheTimeline) {
    const std::string wav = (home.path() / "t.wav").string();
    const ProcessOutcome t = run({"phone", "tones", "1,#", wav});
    EXPECT_EQ(t.status, 0);
    EXPECT_EQ(t.out, "1\tP1\t0\t100\t50\n,\twait\t150\t3000\t0\n#\tPS\t3150\t100\t50\n");
    // round(3300 × 11.025) = 36383 samples and a pad byte.
    EXPECT_EQ(fs::file_size(wav), 44u + 36384u);
}

// A full disk and a read-only folder, made in a mount namespace of the
// test's own (a small tmpfs): the message, status 1, the old file kept.
TEST_F(PhoneCtl, FullDiskAndReadOnlyFolderKeepTheFile) {
    if (hinagiku::testing::runProcess({"/usr/bin/unshare", "-rm", "true"}).status != 0)
        GTEST_SKIP() << "unshare -rm is not available";
    const std::string tel = (home.path() / "data" / "Tel").string();
    fs::create_directories(tel);
    std::string rows;
    for (int r = 0; r < 256; ++r)
        rows += std::to_string(r) + "\t" + std::string(3000, 'x') + "\t\t\t\t\t\n";
    const fs::path input = home.path() / "rows.tsv";
    {
        FILE* f = fopen(input.c_str(), "wb");
        fwrite(rows.data(), 1, rows.size(), f);
        fclose(f);
    }
    struct Case {
        std::string name;
        std::string mountOptions;
        std::string afterSetup;
    };
    const Case cases[] = {
        {"full disk", "size=64k", ""},
        {"read-only folder", "size=1m", " && mount -o remount,ro " + tel},
    };
    for (const auto& c : cases) {
        const std::string script = "mount -t tmpfs -o " + c.mountOptions + " tmpfs " + tel +
                                   " && printf 'old\\r\\n' > " + tel + "/6.CSV" + c.afterSetup +
                                   " && " + hinagiku::testing::builtProgram("hinagikuctl") +
                                   " phone write 6 < " + input.string() + "; echo status=$?; cat " +
                                   tel + "/6.CSV; ls " + tel;
        const auto r =
            hinagiku::testing::runProcess({"/usr/bin/unshare", "-rm", "/bin/sh", "-c", script});
        EXPECT_NE(r.out.find("status=1\nold\r\n6.CSV\n"), std::string::npos)
            << c.name << ": " << r.out;
        EXPECT_NE(r.err.find("6.CSV"), std::string::npos) << c.name << ": " << r.err;
    }
}

TEST_F(PhoneCtl, DialPrintsTheHandOff) {
    EXPECT_EQ(run({"phone", "dial", "--print", "03 1234#"}).out, "open\ttel:031234%23\n");
    home.writeFile("hinagiku.ini",
                   "[Calendar]\r\nDirectory=.\r\n[TelePhone]\r\nDialer=mydial "
                   "--to %n --uri %u\r\n");
    EXPECT_EQ(run({"phone", "dial", "--print", "０３", "Sato"}).out,
              "run\tmydial\t--to\t03\t--uri\ttel:03\n");
}

}  // namespace
