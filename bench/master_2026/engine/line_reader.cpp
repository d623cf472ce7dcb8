#include "engine/line_reader.h"

namespace brindle::engine {

std::vector<LineReader::Line> LineReader::feed(std::string_view bytes)
{
    std::vector<Line> lines;
    for (const char c : bytes) {
        const bool lf = c == '\n';
        if (lf && afterCR_) { // the LF of a CR LF
            afterCR_ = false;
            continue;
        }
        afterCR_ = c == '\r';
        if (lf || c == '\r') {
            lines.push_back({std::move(partial_), overlong_});
            partial_.clear();
            overlong_ = false;
        } else if (partial_.size() < MaxLine) {
            partial_ += c;
        } else {
            overlong_ = true;
        }
    }
    return lines;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace brindle::engine
