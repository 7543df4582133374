#include "obj/model/diagnostics.h"

#include <algorithm>

namespace tollgram::obj {

void appendDiagnostic(std::string& text, DiagnosticBound& bound, std::initializer_list<std::string_view> pieces) {
    const size_t size = text.size();
    DiagnosticBound next = bound;
    try {
        for (std::string_view piece : pieces) {
            while (!piece.empty()) {
                if (next.linesEnded == kKeptDiagnosticLines) {
                    next.feedsBeyond += static_cast<uint64_t>(std::count(piece.begin(), piece.end(), '\n'));
                    next.textAfterLastFeed = piece.back() != '\n';
                    break;
                }
                const size_t feed = piece.find('\n');
                const std::string_view line = piece.substr(0, feed);
                const size_t kept = std::min(line.size(), kKeptDiagnosticLineLength - next.lineLength);
                text.append(line.substr(0, kept));
                next.lineLength += kept;
                if (feed == piece.npos) break;
                text.push_back('\n');
                ++next.linesEnded;
                next.lineLength = 0;
                piece.remove_prefix(feed + 1);
            }
        }
    } catch (...) {
        text.resize(size);
        throw;
    }
    bound = next;
}

void clearDiagnostics(std::string& text, DiagnosticBound& bound) {
    text.clear();
    bound = DiagnosticBound{};
}

}  // namespace tollgram::obj
