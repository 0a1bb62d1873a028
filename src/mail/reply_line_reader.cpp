#include "mail/reply_line_reader.h"

namespace hinagiku::mail {

void ReplyLineReader::feed(std::string_view bytes, std::vector<std::string>& lines) {
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, lf);
        if (!cut_) {
            const std::size_t room = kMaxLineBytes - current_.size();
            if (piece.size() > room) {
                current_.append(piece.substr(0, room));
                cut_ = true;
            } else {
                current_.append(piece);
            }
        }
        if (lf == std::string_view::npos)
            return;
        // A line that was cut lost its CR with the rest.
        if (!cut_ && !current_.empty() && current_.back() == '\r')
            current_.pop_back();
        lines.push_back(std::move(current_));
        current_.clear();
        cut_ = false;
        bytes.remove_prefix(lf + 1);
    }
}

void ReplyLineReader::reset() {
    current_.clear();
    cut_ = false;
}

}  // namespace hinagiku::mail
