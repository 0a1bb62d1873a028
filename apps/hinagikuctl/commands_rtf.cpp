// rtf text FILE: the plain text of an entry file (RTF or plain text), UTF-8, one
// paragraph a line. rtf write FILE: the RTF this program writes for FILE.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "command_registry.h"
#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kUsage =
    "rtf text FILE | rtf write FILE   (FILE - reads standard input)";

std::optional<std::string> readAll(const std::string& path, CommandContext& context) {
    if (path == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        context.err << "hinagikuctl: " << path << " is a folder, not a file\n";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        context.err << "hinagikuctl: cannot read " << path << '\n';
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) {
        context.err << "hinagikuctl: cannot read " << path << '\n';
        return std::nullopt;
    }
    return std::move(bytes).str();
}

int rtfCommand(CommandContext& context) {
    if (context.args.size() != 2)
        return usageError(context, kUsage);
    const std::string& sub = context.args[0];
    if (sub != "text" && sub != "write") {
        return usageError(context, kUsage, "unknown rtf subcommand '" + sub + "'");
    }
    const auto bytes = readAll(context.args[1], context);
    if (!bytes)
        return kExitIoError;
    if (sub == "text") {
        context.out << richtext::entryPlainText(*bytes) << '\n';
    } else {
        context.out << richtext::writeRtf(richtext::readRichText(*bytes));
    }
    return kExitOk;
}

const CommandRegistration registration{"rtf", kUsage, &rtfCommand};

}  // namespace
}  // namespace hinagiku::ctl
