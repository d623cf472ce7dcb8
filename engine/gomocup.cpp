#include "engine/gomocup.h"

#include "engine/strength.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace brindle::engine {

namespace {

// Exactly five, renju and caro count lines differently: played by the
// freestyle rule they would be lost to a wrong rule, so they are refused.
constexpr int32_t UnsupportedRules = 1 | 4 | 8;

std::optional<int32_t> number(std::string_view s)
{
    s = trim(s);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc{} || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

std::string upper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

} // namespace

Brain::Brain(const Level& level, uint64_t seed, std::string version)
    : level_(level), about_(R"(name="Brindle", version=")" + version + R"(", author="the Brindle team", country="Unknown")"),
      random_(seed), player_(board_, random_)
{
    player_.SearchMargin = level.SearchMargin;
    for (auto& row : board_)
        row.fill(WipeBar);
}

std::vector<std::string> Brain::newBoard(int32_t size)
{
    size_ = size;
    stones_ = 0;
    for (int32_t y = 0; y < BoardSize; ++y)
        for (int32_t x = 0; x < BoardSize; ++x)
            board_[static_cast<size_t>(y)][static_cast<size_t>(x)] = x < size && y < size ? Empty : WipeBar;
    player_.clearArea();
    player_.drawWeights();
    player_.recount();
    search_.reset(size);
    return {"OK"};
}

void Brain::place(int32_t x, int32_t y, char mark)
{
    char& cell = board_[static_cast<size_t>(y)][static_cast<size_t>(x)];
    player_.cellChanged(y, x, cell, mark);
    stones_ += (mark != Empty) - (cell != Empty);
    cell = mark;
    search_.set(x, y, mark == MarkX ? 1 : mark == MarkO ? 2 : 0);
    if (mark != Empty)
        player_.notePiece(y, x);
}

std::optional<std::string> Brain::readCell(std::string_view text, int32_t& x, int32_t& y, int32_t* field) const
{
    std::vector<std::optional<int32_t>> parts;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        parts.push_back(number(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (parts.size() != (field ? 3u : 2u) || !std::all_of(parts.begin(), parts.end(), [](auto& p) { return p.has_value(); }))
        return std::string(field ? "expected x,y,field" : "expected x,y") + ", not \"" + std::string(text) + "\"";
    x = *parts[0], y = *parts[1];
    if (field)
        *field = *parts[2];
    if (x < 0 || y < 0 || x >= size_ || y >= size_)
        return std::to_string(x) + "," + std::to_string(y) + " is off the board";
    return std::nullopt;
}

int64_t Brain::turnMilliseconds() const
{
    int64_t ms = timeoutTurn_ > 0 ? timeoutTurn_ - std::max(20, timeoutTurn_ / 10) : MasterMilliseconds;
    if (timeLeft_ > 0)
        ms = std::min<int64_t>(ms, timeLeft_ / 8);
    return std::max<int64_t>(ms, 5);
}

std::string thinkingMessage(const Thinking& thinking)
{
    std::string text = "MESSAGE depth " + std::to_string(thinking.depth) + " value " + figure(thinking.eval) + " nodes " +
                       std::to_string(thinking.nodes) + " line";
    // Appended piece by piece: a chain of + on temporaries trips g++ 12's -Wrestrict.
    for (const auto& [x, y] : thinking.line) {
        text += ' ';
        text += std::to_string(x);
        text += ',';
        text += std::to_string(y);
    }
    return text;
}

std::vector<std::string> Brain::reply()
{
    ComputerPlayer::Choice choice;
    if (level_.looksAhead) {
        using Clock = std::chrono::steady_clock;
        std::optional<Clock::time_point> lastSaid;
        const auto report = [this, &lastSaid](const Thinking& t) {
            if (!say_ || (lastSaid && Clock::now() - *lastSaid < std::chrono::milliseconds(250)))
                return;
            lastSaid = Clock::now();
            say_(thinkingMessage(t));
        };
        if (level_.strength > 0 && level_.strength < Strengths) {
            const double uniform = random_.Rnd();
            const Candidate c = playAtStrength(search_, 1, level_.strength, std::chrono::milliseconds(turnMilliseconds()), stop_, uniform);
            if (c.x < 0)
                return {"ERROR the board is full"};
            place(c.x, c.y, MarkX);
            return {std::to_string(c.x) + "," + std::to_string(c.y)};
        }
        const Thinking t =
            search_.analyse(1, Search::Limits{std::chrono::milliseconds(turnMilliseconds()), Search::MaxDepth, 0, stop_}, 1, report);
        if (t.candidates.empty())
            return {"ERROR the board is full"};
        const int32_t x = t.candidates.front().x, y = t.candidates.front().y;
        place(x, y, MarkX);
        return {thinkingMessage(t), std::to_string(x) + "," + std::to_string(y)};
    }
    if (stones_ > 0)
        choice = player_.choose(MarkX, stones_, level_.randomCell);
    else if (size_ == BoardSize)
        choice = player_.choose(MarkX, 0, false); // the game's own opening, in the middle half
    if (!choice.found || at(choice.col, choice.row) != Empty) {
        // No empty cell near a stone (or none at all yet): the first free one, from the centre out.
        choice.found = false;
        const int32_t c = size_ / 2;
        for (int32_t ring = 0; ring <= size_ && !choice.found; ++ring)
            for (int32_t y = std::max(0, c - ring); y <= std::min(size_ - 1, c + ring) && !choice.found; ++y)
                for (int32_t x = std::max(0, c - ring); x <= std::min(size_ - 1, c + ring) && !choice.found; ++x)
                    if (at(x, y) == Empty)
                        choice = {y, x, 0, true};
    }
    if (!choice.found)
        return {"ERROR the board is full"};
    place(choice.col, choice.row, MarkX);
    return {"MESSAGE score " + std::to_string(choice.score), std::to_string(choice.col) + "," + std::to_string(choice.row)};
}

std::vector<std::string> Brain::command(const LineReader::Line& line)
{
    if (line.tooLong)
        return {"ERROR a line of more than " + std::to_string(LineReader::MaxLine) + " bytes"};
    if (std::any_of(line.text.begin(), line.text.end(), [](unsigned char c) { return (c < 0x20 && c != '\t') || c >= 0x7F; }))
        return {"ERROR the line holds bytes that are not text"};
    const std::string_view text = trim(line.text);
    if (text.empty())
        return {};
    const size_t space = text.find(' ');
    const std::string word = upper(text.substr(0, space));
    const std::string_view args = space == std::string_view::npos ? std::string_view() : trim(text.substr(space + 1));
    int32_t x = 0, y = 0, field = 0;

    const std::vector<std::string> refused = {"ERROR rule " + std::to_string(rule_) +
                                              " is not supported: Brindle plays five or more in a row"};
    const bool ruleRefused = (rule_ & UnsupportedRules) != 0;
    if (inBoard_) { // rows of stones until DONE
        if (word == "DONE") {
            inBoard_ = false;
            return ruleRefused ? refused : reply();
        }
        if (const auto why = readCell(text, x, y, &field))
            return {"ERROR " + *why};
        if (at(x, y) != Empty)
            return {"ERROR " + std::to_string(x) + "," + std::to_string(y) + " is taken"};
        if (field == 1 || field == 2)
            place(x, y, field == 1 ? MarkX : MarkO);
        else if (field != 3)
            return {"ERROR field " + std::to_string(field) + " is neither 1, 2 nor 3"};
        return {};
    }
    if (word == "END") {
        ended_ = true;
        return {};
    }
    if (word == "ABOUT")
        return {about_};
    if (word == "INFO") {
        const size_t gap = args.find(' ');
        const std::string key(args.substr(0, gap));
        const std::optional<int32_t> value = gap == std::string_view::npos ? std::nullopt : number(args.substr(gap + 1));
        if (value && key == "rule")
            rule_ = *value;
        else if (value && key == "timeout_turn")
            timeoutTurn_ = *value > 0 ? *value : 0;
        else if (value && key == "time_left")
            timeLeft_ = *value > 0 ? *value : 0;
        else if (value && key == "max_memory")
            search_.limitMemory(*value > 0 ? *value : 0);
        else if (value && key == "thread_num")
            search_.setThreads(*value);
        return {}; // unknown keys are ignored
    }
    if (word == "START" || word == "RECTSTART") {
        int32_t width = 0, height = 0;
        const std::optional<int32_t> n = number(args);
        if (word == "START" && n)
            width = height = *n;
        else if (const size_t comma = args.find(','); word == "RECTSTART" && comma != std::string_view::npos)
            width = number(args.substr(0, comma)).value_or(0), height = number(args.substr(comma + 1)).value_or(0);
        if (width != height || width < MinSize || width > MaxSize)
            return {"ERROR Brindle plays square boards from " + std::to_string(MinSize) + " to " + std::to_string(MaxSize) +
                    ", not \"" + std::string(args) + "\""};
        return newBoard(width);
    }
    const bool known = word == "RESTART" || word == "BEGIN" || word == "TURN" || word == "BOARD" || word == "TAKEBACK";
    if (!known)
        return {"UNKNOWN " + word};
    if (size_ == 0)
        return {"ERROR no board yet: START comes first"};
    if (word == "RESTART")
        return newBoard(size_);
    if (word == "BEGIN")
        return ruleRefused ? refused : reply();
    if (word == "BOARD") {
        newBoard(size_);
        inBoard_ = true;
        return {};
    }
    if (const auto why = readCell(args, x, y))
        return {"ERROR " + *why};
    if (word == "TAKEBACK") {
        if (at(x, y) == Empty)
            return {"ERROR " + std::to_string(x) + "," + std::to_string(y) + " holds no stone"};
        place(x, y, Empty);
        return {"OK"};
    }
    if (at(x, y) != Empty) // TURN
        return {"ERROR " + std::to_string(x) + "," + std::to_string(y) + " is taken"};
    if (ruleRefused)
        return refused;
    place(x, y, MarkO);
    return reply();
}

} // namespace brindle::engine
