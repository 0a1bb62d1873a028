// The clients and hinagikuctl against real servers started here on
// 127.0.0.1: dovecot for POP3 (plain, STLS, POP3S) and aiosmtpd for SMTP
// (plain, STARTTLS with AUTH, SMTPS with AUTH), certificates from openssl.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "mail/mail_log.h"
#include "mail/pop3_client.h"
#include "mail/reminder_message.h"
#include "mail/smtp_client.h"
#include "mail/stored_password.h"
#include "mail/ui/mail_settings_window.h"
#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "support/process_run.h"

namespace hinagiku::mail {
namespace {

namespace fs = std::filesystem;

template <typename Done>
bool runUntil(Done done, int guardMs = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < guardMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return done();
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool waitForPort(quint16 port) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        if (runUntil(
                [&] {
                    return s.state() == QAbstractSocket::ConnectedState ||
                           s.state() == QAbstractSocket::UnconnectedState;
                },
                2000) &&
            s.state() == QAbstractSocket::ConnectedState)
            return true;
        QThread::msleep(100);
    }
    return false;
}

std::string run(const std::vector<std::string>& argv) {
    const testing::ProcessOutcome o = testing::runProcess(argv);
    EXPECT_EQ(o.status, 0) << argv[0] << ": " << o.err;
    return o.out;
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class MailServers : public ::testing::Test {
  protected:
    // dovecot drops to its own users for the mailbox: that needs root, the
    // packages of scripts/setup.sh and those users.
    static bool serversAvailable() {
        return geteuid() == 0 && fs::exists("/usr/sbin/dovecot") &&
               fs::exists("/usr/bin/openssl") && getpwnam("dovecot") != nullptr &&
               getpwnam("dovenull") != nullptr &&
               std::system("/usr/bin/python3 -c 'import aiosmtpd' 2>/dev/null") == 0;
    }
    void SetUp() override {
        if (!available_)
            GTEST_SKIP() << "needs root, dovecot-pop3d, python3-aiosmtpd and openssl";
    }

    static void SetUpTestSuite() {
        available_ = serversAvailable();
        if (!available_)
            return;
        char pattern[] = "/tmp/hinagiku-mail-XXXXXX";
        dir_ = mkdtemp(pattern);
        fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        makeCertificates();
        startDovecot();
        for (const char* mode : {"plain", "starttls", "smtps", "smtps-login"})
            startSmtp(mode);
    }
    static void TearDownTestSuite() {
        if (!available_)
            return;
        for (QProcess* p : processes_) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
            p->waitForFinished(2000);
            delete p;
        }
        processes_.clear();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static void makeCertificates() {
        const std::string d = dir_.string();
        run({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
             d + "/ca.key", "-out", d + "/ca.crt", "-days", "2", "-subj", "/CN=Hinagiku Test CA"});
        run({"/usr/bin/openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout",
             d + "/server.key", "-out", d + "/server.csr", "-subj", "/CN=localhost"});
        writeText(dir_ / "ext.cnf", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
        run({"/usr/bin/openssl", "x509", "-req", "-in", d + "/server.csr", "-CA", d + "/ca.crt",
             "-CAkey", d + "/ca.key", "-CAcreateserial", "-out", d + "/server.crt", "-days", "2",
             "-extfile", d + "/ext.cnf"});
        fs::permissions(dir_ / "server.key", fs::perms::owner_read | fs::perms::owner_write);
        QFile crt(QString::fromStdString(d + "/server.crt"));
        crt.open(QIODevice::ReadOnly);
        serverCertificate_ = QSslCertificate(crt.readAll());
        QFile ca(QString::fromStdString(d + "/ca.crt"));
        ca.open(QIODevice::ReadOnly);
        authority_ = QSslCertificate(ca.readAll());
    }

    static void startDovecot() {
        const std::string d = dir_.string();
        pop3Port_ = freePort();
        pop3sPort_ = freePort();
        for (const char* sub : {"run", "state", "home/taro/Maildir/cur", "home/taro/Maildir/new",
                                "home/taro/Maildir/tmp"})
            fs::create_directories(dir_ / sub);
        for (int i = 1; i <= 3; ++i) {
            writeText(dir_ / "home/taro/Maildir/new" / ("100" + std::to_string(i) + ".M1P1.test"),
                      "From: a@example.jp\r\nSubject: m" + std::to_string(i) + "\r\n\r\nbody " +
                          std::string(static_cast<std::size_t>(i) * 10, 'x') + "\r\n");
        }
        run({"/bin/chown", "-R", "dovecot:dovecot", d + "/home"});
        writeText(dir_ / "passwd", "taro:{PLAIN}secret::::::\n");
        std::ostringstream conf;
        conf << "base_dir = " << d << "/run\nstate_dir = " << d << "/state\n"
             << "log_path = " << d << "/dovecot.log\nprotocols = pop3\nlisten = 127.0.0.1\n"
             << "ssl = yes\nssl_cert = <" << d << "/server.crt\nssl_key = <" << d
             << "/server.key\ndisable_plaintext_auth = no\nauth_mechanisms = plain\n"
             << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " << d
             << "/passwd\n}\nuserdb {\n  driver = static\n  args = uid=dovecot gid=dovecot home="
             << d << "/home/%u\n}\nmail_location = maildir:" << d << "/home/%u/Maildir\n"
             << "default_internal_user = dovecot\ndefault_internal_group = dovecot\n"
             << "default_login_user = dovenull\nfirst_valid_uid = 1\n"
             << "service pop3-login {\n  chroot =\n  inet_listener pop3 {\n    address = "
                "127.0.0.1\n    port = "
             << pop3Port_
             << "\n  }\n  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " << pop3sPort_
             << "\n    ssl = yes\n  }\n}\nservice anvil {\n  chroot =\n}\n";
        writeText(dir_ / "dovecot.conf", conf.str());
        auto* p = new QProcess;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral("/usr/sbin/dovecot"),
                 {QStringLiteral("-F"), QStringLiteral("-c"),
                  QString::fromStdString(d + "/dovecot.conf")});
        processes_.push_back(p);
        ASSERT_TRUE(waitForPort(pop3Port_)) << readText(dir_ / "dovecot.log");
        ASSERT_TRUE(waitForPort(pop3sPort_));
    }

    static void startSmtp(const std::string& mode) {
        const quint16 port = freePort();
        const fs::path out = dir_ / ("smtp-" + mode);
        fs::create_directories(out);
        auto* p = new QProcess;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const std::string script =
            std::string(std::getenv("HINAGIKU_SOURCE_DIR")) + "/tests/mail/smtp_test_server.py";
        // The system's python: the one on PATH may not have aiosmtpd.
        p->start(QStringLiteral("/usr/bin/python3"),
                 {QString::fromStdString(script), QString::fromStdString(mode),
                  QString::number(port), QString::fromStdString(out.string()),
                  QString::fromStdString((dir_ / "server.crt").string()),
                  QString::fromStdString((dir_ / "server.key").string())});
        processes_.push_back(p);
        ASSERT_TRUE(p->waitForReadyRead(20000)) << mode;
        smtpPorts_[mode] = port;
    }

    static Pop3Result check(Pop3Account a, bool trustAuthority) {
        Pop3Client client;
        MailConnection::Options options;
        if (trustAuthority)
            options.extraAuthorities = {authority_};
        client.connection().setOptions(options);
        Pop3Result result;
        bool done = false;
        QObject::connect(&client, &Pop3Client::finished, [&](const Pop3Result& r) {
            result = r;
            done = true;
        });
        client.start(a);
        EXPECT_TRUE(runUntil([&] { return done; }));
        return result;
    }

    static Pop3Account account(TlsMode mode) {
        Pop3Account a;
        a.check = true;
        a.server = "localhost";
        a.user = "taro";
        a.password = "secret";
        a.tls = mode;
        a.port = std::to_string(mode == TlsMode::Implicit ? pop3sPort_ : pop3Port_);
        return a;
    }

    static std::string pin() { return certificateFingerprint(serverCertificate_); }

    static SmtpResult send(SmtpConfig config, const std::string& message, bool trustAuthority) {
        SmtpClient client;
        MailConnection::Options options;
        if (trustAuthority)
            options.extraAuthorities = {authority_};
        client.connection().setOptions(options);
        SmtpResult result;
        bool done = false;
        QObject::connect(&client, &SmtpClient::finished, [&](const SmtpResult& r) {
            result = r;
            done = true;
        });
        client.send({std::move(config), message});
        EXPECT_TRUE(runUntil([&] { return done; }));
        return result;
    }

    static SmtpConfig smtp(const std::string& mode) {
        SmtpConfig c;
        c.enabled = true;
        c.server = "localhost";
        c.port = std::to_string(smtpPorts_[mode]);
        c.from = "Taro <t@example.jp>";
        c.to = "u@example.jp";
        c.tls = mode == "plain" ? TlsMode::Plain
                                : (mode == "starttls" ? TlsMode::StartTls : TlsMode::Implicit);
        if (mode != "plain") {
            c.user = "taro";
            c.password = "secret";
        }
        return c;
    }

    static std::vector<fs::path> received(const std::string& mode) {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(dir_ / ("smtp-" + mode))) {
            if (e.path().extension() == ".eml")
                files.push_back(e.path());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    static inline bool available_ = false;
    static inline fs::path dir_;
    static inline std::vector<QProcess*> processes_;
    static inline quint16 pop3Port_ = 0;
    static inline quint16 pop3sPort_ = 0;
    static inline std::map<std::string, quint16> smtpPorts_;
    static inline QSslCertificate serverCertificate_{QByteArray()};
    static inline QSslCertificate authority_{QByteArray()};
};

TEST_F(MailServers, Pop3CountsAgreeWithPoplib) {
    const std::string poplib =
        run({"/usr/bin/python3", "-c",
             "import poplib,sys\np=poplib.POP3('127.0.0.1'," + std::to_string(pop3Port_) +
                 ")\np.user('taro')\np.pass_('secret')\nc,s=p.stat()\np.quit()\n"
                 "print(c,s)"});
    struct Case {
        const char* name;
        TlsMode mode;
        bool trust;
        std::string pin;
        Pop3State state;
    };
    const Case cases[] = {
        {"plain", TlsMode::Plain, false, "", Pop3State::Ok},
        {"stls", TlsMode::StartTls, true, "", Pop3State::Ok},
        {"pop3s", TlsMode::Implicit, true, "", Pop3State::Ok},
        {"pop3s pinned", TlsMode::Implicit, false, pin(), Pop3State::Ok},
        {"stls pinned", TlsMode::StartTls, false, pin(), Pop3State::Ok},
        {"pop3s untrusted", TlsMode::Implicit, false, "", Pop3State::Tls},
        {"stls untrusted", TlsMode::StartTls, false, "", Pop3State::Tls},
        {"pop3s wrong pin", TlsMode::Implicit, false, std::string(64, 'a'), Pop3State::Tls},
    };
    for (const auto& c : cases) {
        Pop3Account a = account(c.mode);
        a.pin = c.pin;
        const Pop3Result r = check(a, c.trust);
        EXPECT_EQ(r.state, c.state)
            << c.name << ": " << pop3StateName(r.state) << " " << r.detail << "\n"
            << readText(dir_ / "dovecot.log");
        if (c.state == Pop3State::Ok) {
            EXPECT_EQ(std::to_string(r.stat.count) + " " + std::to_string(r.stat.size) + "\n",
                      poplib)
                << c.name;
        } else {
            EXPECT_EQ(r.fingerprint, pin()) << c.name;
            EXPECT_TRUE(r.unverified) << c.name;
        }
    }
    // The wrong password gets no further than PASS.
    Pop3Account wrong = account(TlsMode::Plain);
    wrong.password = "nope";
    EXPECT_EQ(check(wrong, false).state, Pop3State::Pass);
}

TEST_F(MailServers, SmtpDeliversInEveryMode) {
    const std::string text = "\xE4\xBC\x9A\xE8\xAD\xB0\n.dot line\n\xEF\xBD\xB6\xEF\xBE\x9E";
    const std::string message =
        buildReminderMessage("Taro <t@example.jp>", "u@example.jp", "26/12/10 (\xE6\x9C\xA8) 09:00",
                             text, 46000.375, -540);
    for (const std::string mode : {"plain", "starttls", "smtps"}) {
        const SmtpResult r = send(smtp(mode), message, true);
        EXPECT_EQ(r.state, SmtpState::Sent)
            << mode << ": " << smtpStateName(r.state) << " " << r.lastReply << " " << r.detail;
        const auto files = received(mode);
        ASSERT_EQ(files.size(), 1u) << mode;
        // The mail as a reader sees it, decoded by Python's email package.
        const std::string decoded =
            run({"/usr/bin/python3", "-c",
                 "import email,sys\nm=email.message_from_binary_file(open(sys.argv[1],'rb'))\n"
                 "sys.stdout.buffer.write((m['X-Envelope-From']+'|'+m['Subject']+'|'+m['From']+'|'+"
                 "m.get_content_charset()+'|'+m.get_payload(decode=True).decode('iso2022_jp'))."
                 "encode())",
                 files[0].string()});
        EXPECT_EQ(decoded,
                  "<t@example.jp>|Hinagiku Reminder|Taro <t@example.jp>|iso-2022-jp|"
                  "26/12/10 (\xE6\x9C\xA8) 09:00\n\xE4\xBC\x9A\xE8\xAD\xB0\n"
                  ".dot line\n\xE3\x82\xAC\n")
            << mode;
    }
    // AUTH with the wrong password, over STARTTLS and SMTPS.
    for (const std::string mode : {"starttls", "smtps"}) {
        SmtpConfig c = smtp(mode);
        c.password = "nope";
        EXPECT_EQ(send(c, message, true).state, SmtpState::Auth) << mode;
        EXPECT_EQ(received(mode).size(), 1u) << mode;
    }
    // SMTPS with the certificate pinned instead of trusted; untrusted refused.
    SmtpConfig pinned = smtp("smtps");
    pinned.pin = pin();
    EXPECT_EQ(send(pinned, message, false).state, SmtpState::Sent);
    EXPECT_EQ(send(smtp("smtps"), message, false).state, SmtpState::Tls);
    EXPECT_EQ(received("smtps").size(), 2u);

    // A server that offers AUTH LOGIN only.
    EXPECT_EQ(send(smtp("smtps-login"), message, true).state, SmtpState::Sent);
    SmtpConfig wrongLogin = smtp("smtps-login");
    wrongLogin.password = "nope";
    EXPECT_EQ(send(wrongLogin, message, true).state, SmtpState::Auth);
    EXPECT_EQ(received("smtps-login").size(), 1u);
}

// The settings window's connection test against POP3S with a certificate
// the system cannot verify: the user agrees, the pin is stored and the
// test passes; refused, nothing is stored.
TEST_F(MailServers, ConnectionTestPinsTheCertificateWhenAgreed) {
    platform::MemorySettings settings;
    settings.writeText("pop", "pop2_server", "localhost");
    settings.writeText("pop", "pop2_user", "taro");
    writePassword(settings, "pop", "pop2_password", "secret");
    settings.writeText("pop", "pop2_port", std::to_string(pop3sPort_));
    settings.writeText("pop", "pop2_tls", "2");
    auto* window = new MailSettingsWindow(settings);
    std::vector<QString> asked;
    bool agree = false;
    window->setTrustQuestion([&](const QString& fingerprint) {
        asked.push_back(fingerprint);
        return agree;
    });
    window->testConnection(2);
    ASSERT_TRUE(runUntil([&] { return window->account(2).outcome->text().contains("]"); }));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].toStdString(), pin());
    EXPECT_EQ(settings.readText("pop", "pop2_tls_pin", ""), "");

    agree = true;
    window->testConnection(2);
    ASSERT_TRUE(runUntil([&] { return window->account(2).outcome->text().contains("ok (3)"); }))
        << window->account(2).outcome->text().toStdString();
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(settings.readText("pop", "pop2_tls_pin", ""), pin());

    // The sending page probes without sending.
    settings.writeText("smtp", "smtp_server", "localhost");
    settings.writeText("smtp", "smtp_port", std::to_string(smtpPorts_["smtps"]));
    settings.writeText("smtp", "smtp_tls", "2");
    settings.writeText("smtp", "smtp_user", "taro");
    writePassword(settings, "smtp", "smtp_password", "secret");
    const std::size_t before = received("smtps").size();
    window->testConnection(0);
    ASSERT_TRUE(runUntil([&] { return window->sendPage().outcome->text().contains("sent"); }))
        << window->sendPage().outcome->text().toStdString();
    EXPECT_EQ(settings.readText("smtp", "smtp_tls_pin", ""), pin());
    EXPECT_EQ(received("smtps").size(), before);
    delete window;
}

// hinagikuctl with a settings file of its own.
class MailCommands : public MailServers {
  protected:
    void SetUp() override {
        MailServers::SetUp();
        if (IsSkipped())
            return;
        home_ = dir_ / ("home-" + std::to_string(++homes_));
        fs::create_directories(home_ / "data");
        setenv("HINAGIKU_HOME", home_.c_str(), 1);
    }
    void writeIni(const std::string& utf8) {
        writeText(home_ / "hinagiku.ini", platform::toCp932(utf8));
    }
    testing::ProcessOutcome ctl(const std::vector<std::string>& args,
                                const std::string& input = "") {
        std::vector<std::string> argv = {testing::builtProgram("hinagikuctl")};
        argv.insert(argv.end(), args.begin(), args.end());
        if (input.empty())
            return testing::runProcess(argv);
        writeText(home_ / "stdin.txt", input);
        std::string line = "exec";
        for (const auto& a : argv)
            line += " '" + a + "'";
        return testing::runProcess(
            {"/bin/sh", "-c", line + " < '" + (home_ / "stdin.txt").string() + "'"});
    }
    fs::path home_;
    static inline int homes_ = 0;
};

TEST_F(MailCommands, CheckReportsEachAccount) {
    quint16 closed = freePort();
    writeIni(
        "[pop]\npop1_check=1\npop1_name=Home\npop1_server=127.0.0.1\npop1_user=taro\n"
        "pop1_port=" +
        std::to_string(pop3Port_) +
        "\npop2_check=0\npop3_check=1\npop3_name=Work\npop3_server=localhost\npop3_user=taro\n"
        "pop3_port=" +
        std::to_string(pop3sPort_) + "\npop3_tls=2\npop3_tls_pin=" + pin() + "\n[smtp]\n");
    EXPECT_EQ(ctl({"mail", "set-password", "1"}, "secret\n").status, 0);
    EXPECT_EQ(ctl({"mail", "set-password", "3"}, "secret\n").status, 0);
    const std::string ini = readText(home_ / "hinagiku.ini");
    EXPECT_NE(ini.find("pop1_password=\"" + scrambleBytes("secret") + "\""), std::string::npos)
        << ini;

    testing::ProcessOutcome o = ctl({"mail", "check"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out,
              "1\tok\t3\t186\tHome\xEF\xBC\x9A"
              "3\xE9\x80\x9A\n"
              "3\tok\t3\t186\tWork\xEF\xBC\x9A"
              "3\xE9\x80\x9A\n");

    // A refused connection and a wrong password: exit 1, each step named.
    writeIni(
        "[pop]\npop1_check=1\npop1_name=Home\npop1_server=127.0.0.1\npop1_user=taro\n"
        "pop1_password=\"" +
        scrambleBytes("nope") + "\"\npop1_port=" + std::to_string(pop3Port_) +
        "\npop2_check=1\npop2_server=127.0.0.1\npop2_port=" + std::to_string(closed) + "\n");
    o = ctl({"mail", "check", "--wait", "5"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "1\tpass\t0\t0\t\n2\tconnect\t0\t0\t\n");

    // Not printable ASCII: nothing written.
    EXPECT_EQ(ctl({"mail", "set-password", "2"}, "p\xC3\xA4ss\n").status, 1);
    EXPECT_EQ(readText(home_ / "hinagiku.ini").find("pop2_password"), std::string::npos);
    EXPECT_EQ(ctl({"mail", "set-password", "4"}, "x\n").status, 2);
}

TEST_F(MailCommands, SendReminderDeliversTheEntries) {
    writeText(home_ / "data" / "a.txt", platform::toCp932("\xE4\xBC\x9A\xE8\xAD\xB0\r\n"));
    writeText(home_ / "data" / "b.txt", ".second");
    const std::string smtpKeys =
        "[smtp]\nsmtp_server=localhost\nsmtp_port=" + std::to_string(smtpPorts_["plain"]) +
        "\nsmtp_fromaddr=\nsmtp_mailaddr=u@example.jp\n";
    writeIni("[Calendar]\nDirectory=" + (home_ / "data").string() + "\n" + smtpKeys +
             "smtp_check=0\n");
    testing::ProcessOutcome o = ctl({"mail", "send-reminder", "2026-12-10T09:00", "a.txt"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "disabled\t\n");

    writeIni("[Calendar]\nDirectory=" + (home_ / "data").string() + "\n" + smtpKeys +
             "smtp_check=1\n");
    const std::size_t before = received("plain").size();
    o = ctl({"mail", "send-reminder", "2026-12-10T09:00", "a.txt", "b.txt"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out.substr(0, 5), "sent\t");
    const auto files = received("plain");
    ASSERT_EQ(files.size(), before + 1);
    const std::string mail = readText(files.back());
    EXPECT_NE(mail.find("X-Envelope-From: <>\r\n"), std::string::npos);
    EXPECT_NE(mail.find("From: u@example.jp\r\n"), std::string::npos);
    EXPECT_NE(
        mail.find("\r\n\r\n26/12/10 (\x1B$BLZ\x1B(B) 09:00\r\n\x1B$B2q5D\x1B(B\r\n.second\r\n"),
        std::string::npos)
        << mail;

    // No recipient: refused before any connection.
    writeIni("[Calendar]\nDirectory=" + (home_ / "data").string() +
             "\n[smtp]\nsmtp_check=1\nsmtp_server=localhost\nsmtp_port=" +
             std::to_string(smtpPorts_["plain"]) + "\n");
    o = ctl({"mail", "send-reminder", "2026-12-10T09:00", "a.txt"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "settings\t\n");
    EXPECT_EQ(received("plain").size(), before + 1);
}

}  // namespace
}  // namespace hinagiku::mail

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hinagiku::mail::setOutcomeEcho(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
