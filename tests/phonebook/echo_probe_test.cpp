// Real ICMP echo on the loopback only, through hinagikuctl phone ping: no
// test sends a packet anywhere else. The time-out and the failed send run in
// a network namespace of the test's own.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "support/process_run.h"
#include "support/temp_home.h"

namespace {

namespace fs = std::filesystem;
using hinagiku::testing::ProcessOutcome;
using hinagiku::testing::runProcess;

std::string ctl() {
    return hinagiku::testing::builtProgram("hinagikuctl");
}

struct Timed {
    ProcessOutcome outcome;
    long ms = 0;
};

Timed timed(const std::vector<std::string>& argv) {
    const auto start = std::chrono::steady_clock::now();
    Timed t;
    t.outcome = runProcess(argv);
    t.ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
    return t;
}

bool haveNamespaces() {
    return runProcess({"/usr/bin/unshare", "-rn", "true"}).status == 0 &&
           fs::exists("/usr/sbin/ip") | fs::exists("/sbin/ip") | fs::exists("/bin/ip");
}

// Runs the ping inside a fresh network namespace: lo up with 127.0.0.1/32
// and 127.0.0.0/8 routed to lo, so that 127.0.0.2 answers nobody; ICMP
// datagram sockets allowed for the namespace's root.
Timed inNamespace(const std::string& setup, const std::string& arguments) {
    const std::string script = setup + " && exec " + ctl() + " phone ping " + arguments;
    return timed({"/usr/bin/unshare", "-rn", "/bin/sh", "-c", script});
}

const std::string kLoopbackSetup =
    "ip link set lo up && ip addr del 127.0.0.1/8 dev lo && ip addr add 127.0.0.1/32 dev lo"
    " && ip route add 127.0.0.0/8 dev lo"
    " && echo '0 0' > /proc/sys/net/ipv4/ping_group_range";

class EchoProbeTest : public ::testing::Test {
  protected:
    hinagiku::testing::TempHome home;
};

TEST_F(EchoProbeTest, LoopbackAnswersByEachMethodAllowed) {
    int tried = 0;
    for (const std::string method : {"dgram", "raw", "program"}) {
        const auto r = runProcess({ctl(), "phone", "ping", "--method", method, "127.0.0.1"});
        if (r.out.rfind("unavailable\t", 0) == 0) {
            std::cout << "[ skipped  ] " << method << " not allowed here: " << r.out;
            EXPECT_EQ(r.status, 1);
            continue;
        }
        ++tried;
        EXPECT_EQ(r.status, 0) << method;
        EXPECT_EQ(r.out.rfind("reply\t127.0.0.1\t", 0), 0u) << method << ": " << r.out;
        EXPECT_NE(r.out.find("\t" + method + "\n"), std::string::npos) << r.out;
    }
    if (tried == 0)
        GTEST_SKIP() << "no ICMP method is allowed on this machine";
}

TEST_F(EchoProbeTest, DatagramSocketInANamespaceThatAllowsIt) {
    if (!haveNamespaces())
        GTEST_SKIP() << "unshare -rn or ip is not available";
    const Timed t = inNamespace(kLoopbackSetup, "--method dgram 127.0.0.1");
    EXPECT_EQ(t.outcome.status, 0) << t.outcome.err;
    EXPECT_EQ(t.outcome.out.rfind("reply\t127.0.0.1\t", 0), 0u) << t.outcome.out;
    EXPECT_NE(t.outcome.out.find("\tdgram\n"), std::string::npos);
}

TEST_F(EchoProbeTest, NoAnswerEndsAfterTheTimeOut) {
    if (!haveNamespaces())
        GTEST_SKIP() << "unshare -rn or ip is not available";
    for (const std::string method : {"dgram", "raw", "program"}) {
        const Timed t = inNamespace(kLoopbackSetup, "--method " + method + " 127.0.0.2");
        if (t.outcome.out.rfind("unavailable\t", 0) == 0) {
            std::cout << "[ skipped  ] " << method << ": " << t.outcome.out;
            continue;
        }
        EXPECT_EQ(t.outcome.out, "noreply\t127.0.0.2\t" + method + "\n") << t.outcome.err;
        EXPECT_GE(t.ms, 900) << method;  // the 1000 ms time-out, not an early give-up
    }
}

TEST_F(EchoProbeTest, SendWithTheInterfaceDownFailsAtOnce) {
    if (!haveNamespaces())
        GTEST_SKIP() << "unshare -rn is not available";
    const Timed t =
        inNamespace("echo '0 0' > /proc/sys/net/ipv4/ping_group_range", "--method dgram 127.0.0.1");
    EXPECT_EQ(t.outcome.out, "noreply\t127.0.0.1\tdgram\n") << t.outcome.err;
    EXPECT_LT(t.ms, 900);
}

TEST_F(EchoProbeTest, FakePingProgramOnPath) {
    const fs::path bin = home.path() / "bin";
    fs::create_directories(bin);
    struct Case {
        std::string script;
        std::string want;
        int status;
    };
    const Case cases[] = {
        {"echo '64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=2.71 ms'; exit 0",
         "reply\t127.0.0.1\t2\tprogram\n", 0},
        {"exit 1", "noreply\t127.0.0.1\tprogram\n", 0},
        {"echo 'ping: socket: Operation not permitted' >&2; exit 2",
         "unavailable\t127.0.0.1\tping: socket: Operation not permitted\n", 1},
    };
    for (const auto& c : cases) {
        {
            std::ofstream f(bin / "ping");
            f << "#!/bin/sh\necho \"$LC_ALL $*\" > " << (home.path() / "args").string() << "\n"
              << c.script << "\n";
        }
        fs::permissions(bin / "ping", fs::perms::owner_all);
        const auto r = runProcess({"/usr/bin/env", "PATH=" + bin.string(), ctl(), "phone", "ping",
                                   "--method", "program", "127.0.0.1"});
        EXPECT_EQ(r.out, c.want);
        EXPECT_EQ(r.status, c.status);
        std::ifstream args(home.path() / "args");
        std::string line;
        std::getline(args, line);
        EXPECT_EQ(line, "C -n -c 1 -W 1 -s 56 -t 64 -M dont -- 127.0.0.1");
    }
}

TEST_F(EchoProbeTest, NamesAndLiterals) {
    EXPECT_EQ(runProcess({ctl(), "phone", "ping", "no-such-host.invalid"}).out,
              "unresolved\tno-such-host.invalid\n");
    // localhost resolves IPv4 first.
    const auto r = runProcess({ctl(), "phone", "ping", "localhost"});
    if (r.out.rfind("unavailable", 0) != 0) {
        EXPECT_EQ(r.out.rfind("reply\t127.0.0.1\t", 0), 0u) << r.out;
    }
}

}  // namespace
