#pragma once
// The Gomocup protocol's lines, as both of its sides read them: a byte
// stream cut into lines, and a line's words without their blanks.

#include <string>
#include <string_view>
#include <vector>

namespace brindle::engine {

// Cuts a byte stream into lines. CR LF, LF and CR each end one; a line longer
// than MaxLine is cut there and marked, its rest dropped.
class LineReader {
public:
    static constexpr size_t MaxLine = 4096;
    struct Line {
        std::string text;
        bool tooLong = false;
    };
    std::vector<Line> feed(std::string_view bytes);
    // The line under way has run past MaxLine already.
    bool overlong() const { return overlong_; }

private:
    std::string partial_;
    bool overlong_ = false;
    bool afterCR_ = false;
};

// Without the blanks and tabs at either end.
std::string_view trim(std::string_view s);

} // namespace brindle::engine
