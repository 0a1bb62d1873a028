#include "todo/pair_format.h"

#include <vector>

#include "platform/cp932.h"
#include "platform/file_search.h"

namespace hinagiku::todo {
namespace {

struct Line {
    int level = 0;
    std::string_view text;
    bool hasNul = false;
};

// Splits at CR LF, LF or CR; the last line end is optional.
std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    const std::size_t size = bytes.size();
    auto add = [&](std::size_t end) {
        std::string_view line = bytes.substr(start, end - start);
        Line parsed;
        std::size_t tabs = 0;
        while (tabs < line.size() && line[tabs] == '\t')
            ++tabs;
        parsed.level = tabs > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(tabs);
        parsed.text = line.substr(tabs);
        parsed.hasNul = line.find('\0') != std::string_view::npos;
        lines.push_back(parsed);
    };
    for (std::size_t i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            add(i);
            if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < size)
        add(size);
    return lines;
}

std::optional<std::size_t> firstNul(const std::vector<Line>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].hasNul)
            return i + 1;
    }
    return std::nullopt;
}

std::optional<std::size_t> firstLevelFault(const std::vector<Line>& lines) {
    int previous = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].level > previous + 1)
            return i + 1;
        previous = lines[i].level;
    }
    return std::nullopt;
}

}  // namespace

std::string_view damageWord(DamageReason reason) {
    switch (reason) {
        case DamageReason::Missing:
            return "missing";
        case DamageReason::Unreadable:
            return "unreadable";
        case DamageReason::Nul:
            return "nul";
        case DamageReason::Level:
            return "level";
        case DamageReason::Shape:
            return "shape";
        case DamageReason::Marker:
            return "marker";
    }
    return "unknown";
}

std::string damageMessage(const Damage& damage) {
    std::string what;
    switch (damage.reason) {
        case DamageReason::Missing:
            what = "ファイルがありません。";
            break;
        case DamageReason::Unreadable:
            what = "ファイルを読み込めません。";
            break;
        case DamageReason::Nul:
            what = "NUL文字が含まれています。";
            break;
        case DamageReason::Level:
            what = "不正な階層に対する代入";
            break;
        case DamageReason::Shape:
            what = "TreeData.z32と行数または階層が一致しません。";
            break;
        case DamageReason::Marker:
            what = "項目のファイル名が不正です。";
            break;
    }
    std::string text = what + "\n" + damage.file;
    if (damage.line > 0)
        text += " " + std::to_string(damage.line) + "行目";
    return text;
}

bool isPlainNoteName(std::string_view marker) {
    if (marker.empty() || marker.front() == '.')
        return false;
    const std::string folded = platform::foldAsciiCase(marker);
    if (folded == platform::foldAsciiCase(kTitleFile) ||
        folded == platform::foldAsciiCase(kMarkerFile))
        return false;
    for (std::size_t i = 0; i < marker.size(); ++i) {
        const auto byte = static_cast<unsigned char>(marker[i]);
        if (platform::isCp932LeadByte(byte) && i + 1 < marker.size()) {
            ++i;  // the trail byte may be 0x5C and is no separator
            continue;
        }
        if (byte < 0x20 || byte == 0x7F || byte == '/' || byte == '\\' || byte == ':')
            return false;
    }
    return true;
}

std::variant<PairRead, Damage> readPair(std::optional<std::string_view> titles,
                                        std::optional<std::string_view> markers) {
    const bool titlesEmpty = !titles || titles->empty();
    const bool markersEmpty = !markers || markers->empty();
    if (titlesEmpty && markersEmpty)
        return PairRead{Outline::defaultOutline(), false};
    if (!titles)
        return Damage{std::string(kTitleFile), 0, DamageReason::Missing};
    if (!markers)
        return Damage{std::string(kMarkerFile), 0, DamageReason::Missing};
    const auto titleLines = splitLines(*titles);
    const auto markerLines = splitLines(*markers);
    if (auto line = firstNul(titleLines))
        return Damage{std::string(kTitleFile), *line, DamageReason::Nul};
    if (auto line = firstNul(markerLines))
        return Damage{std::string(kMarkerFile), *line, DamageReason::Nul};
    if (auto line = firstLevelFault(titleLines))
        return Damage{std::string(kTitleFile), *line, DamageReason::Level};
    if (auto line = firstLevelFault(markerLines))
        return Damage{std::string(kMarkerFile), *line, DamageReason::Level};
    const std::size_t common = std::min(titleLines.size(), markerLines.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (titleLines[i].level != markerLines[i].level)
            return Damage{std::string(kMarkerFile), i + 1, DamageReason::Shape};
    }
    if (titleLines.size() != markerLines.size())
        return Damage{std::string(kMarkerFile), common + 1, DamageReason::Shape};
    std::vector<Node> nodes;
    nodes.reserve(titleLines.size());
    for (std::size_t i = 0; i < titleLines.size(); ++i) {
        Node node{titleLines[i].level, std::string(titleLines[i].text),
                  std::string(markerLines[i].text), 0};
        if (node.kind() == NodeKind::Item && !isPlainNoteName(node.marker))
            return Damage{std::string(kMarkerFile), i + 1, DamageReason::Marker};
        nodes.push_back(std::move(node));
    }
    return PairRead{Outline(std::move(nodes)), true};
}

PairBytes writePair(const Outline& outline) {
    PairBytes bytes;
    std::size_t titleSize = 0, markerSize = 0;
    for (const auto& node : outline.nodes()) {
        titleSize += static_cast<std::size_t>(node.level) + node.title.size() + 2;
        markerSize += static_cast<std::size_t>(node.level) + node.marker.size() + 2;
    }
    bytes.titles.reserve(titleSize);
    bytes.markers.reserve(markerSize);
    for (const auto& node : outline.nodes()) {
        bytes.titles.append(static_cast<std::size_t>(node.level), '\t');
        bytes.titles += node.title;
        bytes.titles += "\r\n";
        bytes.markers.append(static_cast<std::size_t>(node.level), '\t');
        bytes.markers += node.marker;
        bytes.markers += "\r\n";
    }
    return bytes;
}

}  // namespace hinagiku::todo
