// hinagikuctl phone read|write|search|tones|dial: the phone book's tab
// files with the program's own rules, its tones and its dial hand-off.
#include <QCoreApplication>
#include <QEventLoop>
#include <QHostInfo>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "command_registry.h"
#include "core/data_folders.h"
#include "core/home_folder.h"
#include "phonebook/cell_text.h"
#include "phonebook/hand_off.h"
#include "phonebook/tab_file.h"
#include "phonebook/tab_search.h"
#include "phonebook/tone_plan.h"
#include "platform/atomic_file.h"
#include "platform/command_line.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "platform/program_launcher.h"
#include "platform/system_echo_probe.h"

namespace hinagiku::ctl {
namespace {

namespace fs = std::filesystem;
using namespace phonebook;

constexpr std::string_view kUsage =
    "phone read N | phone write N < ROWS | phone search TEXT"
    " | phone tones [--sleep MS] NUMBER WAV | phone dial [--print] NUMBER [NAME]"
    " | phone ping [--method dgram|raw|program] HOST";

bool parseNumber(std::string_view text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= low && value <= high;
}

// The phone folder, or nothing (with a message) while no data folder is set.
bool phoneFolder(CommandContext& context, fs::path& folder) {
    const platform::ProfileFile ini(core::settingsFilePath());
    const std::string data = core::DataFolder(ini);
    if (data.empty() || data == ".") {
        context.err << "hinagikuctl: no data folder is set ([Calendar] Directory)\n";
        return false;
    }
    folder = fs::path(data) / "Tel";
    return true;
}

void printRow(std::ostream& out, int row, const Row& cells) {
    out << row;
    for (const auto& cell : cells)
        out << '\t' << escapeCell(cell);
    out << '\n';
}

bool hasContent(const Row& row) {
    for (const auto& cell : row) {
        if (!cell.empty())
            return true;
    }
    return false;
}

int runRead(CommandContext& context, int tab) {
    fs::path folder;
    if (!phoneFolder(context, folder))
        return kExitIoError;
    const TabFile file = readTabFile(folder, tab);
    for (int r = 0; r < kRowCount; ++r) {
        if (hasContent(file.content.grid.rows[r]))
            printRow(context.out, r, file.content.grid.rows[r]);
    }
    if (file.damaged()) {
        context.err << "hinagikuctl: " << file.path.string() << ": " << file.content.damage << '\n';
        return kExitRefused;
    }
    return kExitOk;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

int refuse(CommandContext& context, const std::string& why) {
    context.err << "hinagikuctl: " << why << '\n';
    return kExitRefused;
}

int runWrite(CommandContext& context, int tab, std::istream& in) {
    TabGrid grid;
    std::set<int> seen;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        const auto fields = splitTabs(line);
        if (fields.size() != 1 + kColumnCount)
            return refuse(context, where + "a row has seven TAB-separated fields");
        int row = 0;
        if (!parseNumber(fields[0], 0, kRowCount - 1, row))
            return refuse(context, where + "row must be 0-255");
        if (!seen.insert(row).second)
            return refuse(context, where + "row " + fields[0] + " is given twice");
        for (int c = 0; c < kColumnCount; ++c) {
            std::string problem;
            auto cell = unescapeCell(fields[1 + c], &problem);
            if (!cell)
                return refuse(context, where + problem);
            grid.rows[row][c] = std::move(*cell);
        }
        if (!rowFits(grid.rows[row]))
            return refuse(context, where + "the row is over 4095 bytes in the file");
        if (!rowReadsBack(grid.rows[row]))
            return refuse(context, where + "a cell ends in a cut character");
    }
    fs::path folder;
    if (!phoneFolder(context, folder))
        return kExitIoError;
    std::error_code ec;
    fs::create_directory(folder, ec);
    TabFile file = readTabFile(folder, tab);
    if (file.damaged())
        return refuse(context, file.path.string() + ": " + file.content.damage);
    try {
        const SaveOutcome outcome = saveTabFile(file, grid);
        context.out << (outcome == SaveOutcome::Saved ? "saved" : "unchanged") << '\t'
                    << file.path.string() << '\n';
    } catch (const platform::IoError& e) {
        context.err << "hinagikuctl: " << e.what() << '\n';
        return kExitIoError;
    }
    return kExitOk;
}

int runSearch(CommandContext& context, const std::string& text) {
    if (!platform::fitsCp932(text))
        return refuse(context, "the search text holds a character CP932 lacks");
    fs::path folder;
    if (!phoneFolder(context, folder))
        return kExitIoError;
    std::error_code ec;
    fs::create_directory(folder, ec);
    try {
        const SearchResult result = searchAndStore(folder, platform::toCp932(text));
        for (const auto& hit : result.hits) {
            auto fields = splitRecord(hit.bytes.substr(0, kMaxRecordBytes));
            fields.resize(kColumnCount);
            context.out << hit.tab << '\t' << hit.record;
            for (const auto& f : fields)
                context.out << '\t' << escapeCell(f);
            context.out << '\n';
        }
        if (result.leftOut > 0)
            context.err << "hinagikuctl: " << result.leftOut << " more matches left out\n";
    } catch (const platform::IoError& e) {
        context.err << "hinagikuctl: " << e.what() << '\n';
        return kExitIoError;
    }
    return kExitOk;
}

int runTones(CommandContext& context) {
    const auto& a = context.args;
    std::size_t i = 1;
    int sleep = -1;
    if (i < a.size() && a[i] == "--sleep") {
        if (i + 1 >= a.size() || !parseNumber(a[i + 1], 0, 600000, sleep))
            return usageError(context, kUsage, "--sleep takes milliseconds");
        i += 2;
    }
    if (a.size() - i != 2)
        return usageError(context, kUsage);
    if (sleep < 0) {
        const platform::ProfileFile ini(core::settingsFilePath());
        sleep = std::max(ini.readInt("TelePhone", "Sleep", 100), 0);
    }
    const auto steps = planTones(a[i], sleep);
    std::vector<int> starts;
    const QByteArray wave = timelineWave(steps, &starts);
    try {
        platform::writeFileAtomically(a[i + 1], std::string_view(wave.constData(), wave.size()));
    } catch (const platform::IoError& e) {
        context.err << "hinagikuctl: " << e.what() << '\n';
        return kExitIoError;
    }
    for (std::size_t s = 0; s < steps.size(); ++s) {
        context.out << steps[s].character << '\t' << steps[s].sound << '\t' << starts[s] << '\t'
                    << steps[s].lengthMs << '\t' << steps[s].pauseMs << '\n';
    }
    return kExitOk;
}

int runDial(CommandContext& context) {
    const auto& a = context.args;
    std::size_t i = 1;
    bool print = false;
    if (i < a.size() && a[i] == "--print") {
        print = true;
        ++i;
    }
    if (a.size() - i < 1 || a.size() - i > 2)
        return usageError(context, kUsage);
    const platform::ProfileFile ini(core::settingsFilePath());
    const DialPlan plan =
        planDial(ini.readText("TelePhone", "Dialer", ""), a[i], a.size() - i == 2 ? a[i + 1] : "");
    if (!plan.message.empty())
        return refuse(context, plan.message);
    if (plan.open) {
        context.out << "open\t" << plan.uri << '\n';
    } else {
        context.out << "run\t" << plan.program;
        for (const auto& arg : plan.arguments)
            context.out << '\t' << arg;
        context.out << '\n';
    }
    if (print)
        return kExitOk;
    const platform::LaunchResult started =
        plan.open ? platform::programLauncher().start(plan.uri)
                  : platform::programLauncher().start(plan.program,
                                                      platform::joinCommandLine(plan.arguments));
    if (!started.started) {
        context.err << "hinagikuctl: " << started.message << '\n';
        return kExitIoError;
    }
    return kExitOk;
}

int runPing(CommandContext& context) {
    const auto& a = context.args;
    std::size_t i = 1;
    platform::SystemEchoProbe::Options options;
    if (i < a.size() && a[i] == "--method") {
        if (i + 1 >= a.size())
            return usageError(context, kUsage, "--method takes dgram, raw or program");
        const std::string& m = a[i + 1];
        if (m != "dgram" && m != "raw" && m != "program")
            return usageError(context, kUsage, "--method takes dgram, raw or program");
        options.datagram = m == "dgram";
        options.raw = m == "raw";
        options.program = m == "program";
        i += 2;
    }
    if (a.size() - i != 1)
        return usageError(context, kUsage);
    const QString host = QString::fromStdString(a[i]);
    static int argc = 1;
    static char name[] = "hinagikuctl";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr)
        app = std::make_unique<QCoreApplication>(argc, argv);
    // A dotted address is used as it is; a name is looked up, IPv4 first.
    QHostAddress address;
    if (!address.setAddress(host)) {
        const QHostInfo info = QHostInfo::fromName(host);
        for (const auto& candidate : info.addresses()) {
            if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
                address = candidate;
                break;
            }
        }
        if (address.isNull() && !info.addresses().isEmpty())
            address = info.addresses().front();
    }
    if (address.isNull()) {
        context.out << "unresolved\t" << a[i] << '\n';
        return kExitOk;
    }
    platform::SystemEchoProbe probe(options);
    platform::EchoProbe::Outcome outcome;
    QEventLoop loop;
    QObject::connect(&probe, &platform::EchoProbe::finished,
                     [&](const platform::EchoProbe::Outcome& o) {
                         outcome = o;
                         loop.quit();
                     });
    probe.probe(address);
    loop.exec();
    const std::string shown = outcome.address.toString().toStdString();
    const std::string method = platform::methodName(outcome.method).toStdString();
    switch (outcome.kind) {
        case platform::EchoProbe::Outcome::Kind::Reply:
            context.out << "reply\t" << shown << '\t' << outcome.milliseconds << '\t' << method
                        << '\n';
            return kExitOk;
        case platform::EchoProbe::Outcome::Kind::NoReply:
            context.out << "noreply\t" << shown << '\t' << method << '\n';
            return kExitOk;
        case platform::EchoProbe::Outcome::Kind::Unavailable:
            context.out << "unavailable\t" << shown << '\t' << outcome.reason.toStdString() << '\n';
            return kExitIoError;
    }
    return kExitOk;
}

int runPhone(CommandContext& context) {
    const auto& a = context.args;
    if (a.empty())
        return usageError(context, kUsage);
    const std::string& verb = a[0];
    int tab = 0;
    if ((verb == "read" || verb == "write") && a.size() == 2) {
        if (!parseNumber(a[1], 0, kTabCount - 1, tab))
            return usageError(context, kUsage, "N must be 0-12");
        return verb == "read" ? runRead(context, tab) : runWrite(context, tab, std::cin);
    }
    if (verb == "search" && a.size() == 2)
        return runSearch(context, a[1]);
    if (verb == "tones")
        return runTones(context);
    if (verb == "dial")
        return runDial(context);
    if (verb == "ping")
        return runPing(context);
    return usageError(context, kUsage);
}

const CommandRegistration registration{"phone", kUsage, &runPhone};

}  // namespace
}  // namespace hinagiku::ctl
