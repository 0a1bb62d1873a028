#include "platform/profile_text.h"

#include "platform/cp932.h"

namespace hinagiku::platform::profile_text {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

enum class Kind { Other, Header, Key };

// One line of the file: [begin, end) including its line end; `content` is
// the line without it.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view content;
    Kind kind = Kind::Other;
    std::string_view name;   // section name or key name, trimmed
    std::string_view value;  // raw text after "=" for keys
};

Line classify(std::string_view text, std::size_t begin, std::size_t end) {
    Line line;
    line.begin = begin;
    line.end = end;
    std::string_view content = text.substr(begin, end - begin);
    if (!content.empty() && content.back() == '\n')
        content.remove_suffix(1);
    if (!content.empty() && content.back() == '\r')
        content.remove_suffix(1);
    line.content = content;
    std::string_view s = content;
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    if (s.empty() || s.front() == ';')
        return line;
    if (s.front() == '[') {
        // The last "]" that is a character of its own (not the second byte
        // of a double-byte character) closes the name; without one the
        // line is no header.
        std::size_t close = std::string_view::npos;
        for (std::size_t i = 1; i < s.size(); ++i) {
            if (isCp932LeadByte(static_cast<unsigned char>(s[i]))) {
                ++i;
            } else if (s[i] == ']') {
                close = i;
            }
        }
        if (close != std::string_view::npos) {
            line.kind = Kind::Header;
            line.name = trim(s.substr(1, close - 1));
        }
        return line;
    }
    const std::size_t eq = s.find('=');  // "=" is never the second byte of a character
    if (eq == std::string_view::npos)
        return line;
    line.name = trim(s.substr(0, eq));
    if (line.name.empty())
        return line;
    line.kind = Kind::Key;
    line.value = s.substr(eq + 1);
    return line;
}

// Calls f(line) for every line until f returns false.
template <typename F>
void forEachLine(std::string_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        if (!f(classify(text, pos, end)))
            return;
        pos = end;
    }
}

// Calls f(keyLine) for every key line of the first section named `section`
// until f returns false.
template <typename F>
void forEachKeyOf(std::string_view text, std::string_view section, F&& f) {
    bool inside = false;
    forEachLine(text, [&](const Line& line) {
        if (line.kind == Kind::Header) {
            if (inside)
                return false;
            inside = sameName(line.name, section);
            return true;
        }
        return !(inside && line.kind == Kind::Key) || f(line);
    });
}

// Lines of the first section named `section`: the header, and the last key.
struct SectionSpan {
    bool found = false;
    Line header;
    bool hasKey = false;
    Line lastKey;
    bool hasMatch = false;
    Line match;  // first key named `key`
};

SectionSpan locate(std::string_view text, std::string_view section, std::string_view key) {
    SectionSpan span;
    bool inside = false;
    forEachLine(text, [&](const Line& line) {
        if (line.kind == Kind::Header) {
            if (inside)
                return false;
            if (sameName(line.name, section)) {
                inside = true;
                span.found = true;
                span.header = line;
            }
        } else if (inside && line.kind == Kind::Key) {
            span.hasKey = true;
            span.lastKey = line;
            if (!span.hasMatch && sameName(line.name, key)) {
                span.hasMatch = true;
                span.match = line;
            }
        }
        return true;
    });
    return span;
}

// Ends the text's last line before a line is added after it: a last line
// without a line end gets CR LF, one ending in a lone CR gets its LF (so the
// line keeps its value, and the new line is a line of its own).
void endLastLine(std::string& out) {
    if (out.empty() || out.back() == '\n')
        return;
    out.append(out.back() == '\r' ? "\n" : "\r\n");
}

std::string_view lineEnd(std::string_view text, const Line& line) {
    return text.substr(line.begin + line.content.size(),
                       line.end - line.begin - line.content.size());
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

std::string cleanValue(std::string_view raw, std::size_t maxBytes) {
    std::string_view v = trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v.substr(0, cp932PrefixLength(v, maxBytes)));
}

std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::size_t maxBytes) {
    std::optional<std::string> result;
    forEachKeyOf(text, section, [&](const Line& line) {
        if (!sameName(line.name, key))
            return true;
        result = cleanValue(line.value, maxBytes);
        return false;
    });
    return result;
}

std::vector<std::string> keyNames(std::string_view text, std::string_view section,
                                  std::size_t listBytes) {
    std::vector<std::string> names;
    std::size_t used = 1;  // the final zero
    forEachKeyOf(text, section, [&](const Line& line) {
        for (const std::string& known : names) {
            if (sameName(known, line.name))
                return true;
        }
        if (used + line.name.size() + 1 > listBytes)
            return false;
        used += line.name.size() + 1;
        names.emplace_back(line.name);
        return true;
    });
    return names;
}

std::optional<std::string> withValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value) {
    const SectionSpan span = locate(text, section, key);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
    if (span.hasMatch) {
        std::string replacement = std::string(span.match.name) + "=" + std::string(value);
        if (span.match.content == replacement)
            return std::nullopt;
        out.append(text.substr(0, span.match.begin));
        out.append(replacement);
        out.append(lineEnd(text, span.match));
        out.append(text.substr(span.match.end));
        return out;
    }
    const std::string newLine = std::string(key) + "=" + std::string(value) + "\r\n";
    if (span.found) {
        const Line& after = span.hasKey ? span.lastKey : span.header;
        out.append(text.substr(0, after.end));
        endLastLine(out);
        out.append(newLine);
        out.append(text.substr(after.end));
        return out;
    }
    out.append(text);
    endLastLine(out);
    out.append("[").append(section).append("]\r\n").append(newLine);
    return out;
}

std::vector<std::pair<std::string, std::string>> entries(std::string_view text,
                                                         std::string_view section) {
    std::vector<std::pair<std::string, std::string>> out;
    forEachKeyOf(text, section, [&](const Line& line) {
        out.emplace_back(std::string(line.name), std::string(line.value));
        return true;
    });
    return out;
}

std::vector<std::string> sectionNames(std::string_view text) {
    std::vector<std::string> names;
    forEachLine(text, [&](const Line& line) {
        if (line.kind == Kind::Header)
            names.emplace_back(line.name);
        return true;
    });
    return names;
}

std::optional<std::string> withoutKey(std::string_view text, std::string_view section,
                                      std::string_view key) {
    const SectionSpan span = locate(text, section, key);
    if (!span.hasMatch)
        return std::nullopt;
    std::string out;
    out.reserve(text.size());
    out.append(text.substr(0, span.match.begin));
    out.append(text.substr(span.match.end));
    return out;
}

std::optional<std::string> withSectionKeys(std::string_view text, std::string_view section,
                                           const std::vector<std::string>& lines) {
    std::string block;
    for (const std::string& line : lines)
        block.append(line).append("\r\n");
    const bool hasKeys = locate(text, section, {}).hasKey;
    std::string out;
    out.reserve(text.size() + block.size() + section.size() + 4);
    enum class State { Before, Inside, After } state = State::Before;
    bool inserted = false;
    forEachLine(text, [&](const Line& line) {
        if (line.kind == Kind::Header) {
            if (state == State::Inside) {
                state = State::After;
            } else if (state == State::Before && sameName(line.name, section)) {
                state = State::Inside;
                out.append(text.substr(line.begin, line.end - line.begin));
                if (!hasKeys) {
                    endLastLine(out);
                    out.append(block);
                    inserted = true;
                }
                return true;
            }
        }
        if (state == State::Inside && line.kind == Kind::Key) {
            if (!inserted) {
                out.append(block);
                inserted = true;
            }
            return true;
        }
        out.append(text.substr(line.begin, line.end - line.begin));
        return true;
    });
    if (state == State::Before) {
        endLastLine(out);
        out.append("[").append(section).append("]\r\n").append(block);
    }
    if (out == text)
        return std::nullopt;
    return out;
}

std::optional<std::string> withoutSection(std::string_view text, std::string_view section) {
    std::string out;
    out.reserve(text.size());
    bool dropping = false;
    bool changed = false;
    forEachLine(text, [&](const Line& line) {
        if (line.kind == Kind::Header)
            dropping = sameName(line.name, section);
        if (dropping) {
            changed = true;
        } else {
            out.append(text.substr(line.begin, line.end - line.begin));
        }
        return true;
    });
    if (!changed)
        return std::nullopt;
    return out;
}

}  // namespace hinagiku::platform::profile_text
