#include "richtext/rich_text.h"

namespace hinagiku::richtext {
namespace {

void appendVisible(std::string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == 0xE2 && text.substr(i, 3) == "\u2028") {
            out.push_back('\n');
            i += 3;
        } else if (b == 0xE2 && text.substr(i, 3) == "\u2011") {
            out.push_back('-');
            i += 3;
        } else if (b == 0xC2 && text.substr(i, 2) == "\u00A0") {
            out.push_back(' ');
            i += 2;
        } else if (b == 0xC2 && text.substr(i, 2) == "\u00AD") {
            i += 2;
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
}

}  // namespace

std::string plainText(const RichText& text) {
    std::string out;
    bool first = true;
    for (const auto& paragraph : text.paragraphs) {
        if (!first)
            out.push_back('\n');
        first = false;
        for (const auto& run : paragraph.runs)
            appendVisible(run.text, out);
    }
    return out;
}

RichText richTextFromPlainText(std::string_view utf8) {
    RichText text;
    std::string line;
    auto endParagraph = [&] {
        Paragraph paragraph;
        if (!line.empty())
            paragraph.runs.push_back(Run{CharFormat{}, std::move(line)});
        text.paragraphs.push_back(std::move(paragraph));
        line.clear();
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\xE2' && utf8.substr(i, 3) == "\u2029") {
            i += 2;
            endParagraph();  // U+2029 PARAGRAPH SEPARATOR
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            endParagraph();
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
            line.push_back(c);  // control characters are no text
        }
    }
    endParagraph();
    return text;
}

void normalize(RichText& text) {
    for (auto& paragraph : text.paragraphs) {
        std::vector<Run> merged;
        for (auto& run : paragraph.runs) {
            if (run.text.empty())
                continue;
            if (!merged.empty() && merged.back().format == run.format) {
                merged.back().text += run.text;
            } else {
                merged.push_back(std::move(run));
            }
        }
        paragraph.runs = std::move(merged);
    }
    if (text.paragraphs.empty())
        text.paragraphs.emplace_back();
}

}  // namespace hinagiku::richtext
