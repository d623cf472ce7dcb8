#include "record.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace brindle::record {

namespace {

constexpr std::string_view PsqHeader = "Piskvorky";

Error fail(int32_t line, std::string message) { return Error{line, std::move(message)}; }

std::string boardSizeMessage(std::string_view size)
{
    return "The board is " + std::string(size) + "; Brindle plays on 20 x 20 only.";
}

// A name on a line of its own: control characters become blanks.
std::string oneLine(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    return out;
}

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view withoutByteOrderMark(std::string_view text)
{
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

// The text cut into lines at CR LF, LF or CR.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

template <class Number>
bool parseNumber(std::string_view s, Number& value)
{
    s = trim(s);
    Number parsed{};
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), parsed);
    if (error != std::errc() || end != s.data() + s.size() || s.empty())
        return false;
    value = parsed;
    return true;
}

const char* resultWords(Result result)
{
    switch (result) {
    case Result::RedWins:
        return "Red wins";
    case Result::BlueWins:
        return "Blue wins";
    case Result::Draw:
        return "Draw";
    case Result::None:
        break;
    }
    return "Unfinished";
}

// ---- .psq

// "20x20" after the header word, as the header line gives it.
std::string_view psqSize(std::string_view header)
{
    std::string_view rest = trim(header.substr(PsqHeader.size()));
    return rest.substr(0, rest.find(','));
}

bool looksLikeMove(std::string_view line)
{
    return !line.empty() && line.front() >= '0' && line.front() <= '9' && line.find(',') != std::string_view::npos;
}

// A player's name on its own closing line: no blanks around it, and never
// one that a reader would take for a move.
std::string psqName(std::string_view name)
{
    std::string out(trim(oneLine(name)));
    if (!looksLikeMove(out))
        return out;
    std::replace(out.begin(), out.end(), ',', ' ');
    return std::string(trim(out));
}

} // namespace

std::string toPsq(const Record& record)
{
    std::string out = "Piskvorky 20x20, 11:11, 0\n";
    for (const Move& m : record.moves)
        out += std::to_string(m.col + 1) + "," + std::to_string(m.row + 1) + "," + std::to_string(std::max<int64_t>(m.ms, 0)) + "\n";
    out += psqName(record.red) + "\n" + psqName(record.blue) + "\n" + resultWords(record.result) +
           (record.onTime && record.result != Result::Draw && record.result != Result::None ? " on time" : "") + "\n";
    if (!record.date.empty())
        out += oneLine(record.date) + "\n";
    return out;
}

ReadResult readPsq(std::string_view text)
{
    const std::vector<std::string_view> lines = linesOf(withoutByteOrderMark(text));
    // Blank lines before the header do not count.
    size_t header = 0;
    while (header < lines.size() && trim(lines[header]).empty())
        ++header;
    const auto headerLine = static_cast<int32_t>(header + 1);
    if (header == lines.size() || !trim(lines[header]).starts_with(PsqHeader))
        return fail(headerLine, "This is not a game record: a .psq record begins with \"Piskvorky 20x20\".");
    const std::string_view size = psqSize(trim(lines[header]));
    if (size != "20x20") {
        if (size.find('x') == std::string_view::npos)
            return fail(headerLine, "The first line does not give the board size, as \"Piskvorky 20x20\" does.");
        return fail(headerLine, boardSizeMessage(size));
    }

    Record record;
    size_t i = header + 1;
    for (; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        if (!looksLikeMove(line))
            break;
        const auto lineNumber = static_cast<int32_t>(i + 1);
        std::array<std::string_view, 3> fields{};
        size_t count = 0;
        std::string_view rest = line;
        for (; count < fields.size(); ++count) {
            const size_t comma = rest.find(',');
            fields[count] = rest.substr(0, comma);
            if (comma == std::string_view::npos) {
                rest = {};
                ++count;
                break;
            }
            rest.remove_prefix(comma + 1);
        }
        Move m;
        m.line = lineNumber;
        int32_t x = 0;
        int32_t y = 0;
        const bool ok = count >= 2 && rest.empty() && parseNumber(fields[0], x) && parseNumber(fields[1], y) &&
                        (count == 2 || (parseNumber(fields[2], m.ms) && m.ms >= 0));
        if (!ok)
            return fail(lineNumber, "\"" + oneLine(line) + "\" is not a move; a move is \"x,y,time\".");
        // Far off the board is said here, before the numbers are moved to count from 0.
        if (x < 1 || x > BoardSize || y < 1 || y > BoardSize)
            return fail(lineNumber, "Move " + std::to_string(record.moves.size() + 1) + " is off the board (row " +
                                        std::to_string(y) + ", column " + std::to_string(x) + ").");
        m.col = x - 1;
        m.row = y - 1;
        record.moves.push_back(m);
    }

    // The closing lines: the two players, then the result and date we write.
    // A player without a name has an empty line.
    std::vector<std::string_view> closing;
    for (; i < lines.size(); ++i)
        closing.push_back(trim(lines[i]));
    if (closing.size() > 0)
        record.red = psqName(closing[0]);
    if (closing.size() > 1)
        record.blue = psqName(closing[1]);
    if (closing.size() > 2) {
        std::string_view result = closing[2];
        record.onTime = result.ends_with(" on time");
        if (record.onTime)
            result.remove_suffix(8);
        for (Result r : {Result::RedWins, Result::BlueWins, Result::Draw})
            if (result == resultWords(r))
                record.result = r;
        if (record.result == Result::None)
            record.onTime = false;
    }
    if (closing.size() > 3 && closing[3].size() == 10 && closing[3][4] == '-' && closing[3][7] == '-')
        record.date = std::string(closing[3]);

    if (auto error = checkMoves(record); std::holds_alternative<Error>(error))
        return std::get<Error>(error);
    return record;
}

// ---- SGF

namespace {

std::string sgfText(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == ']' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

// The root property that says a record's V values are a review's.
constexpr std::string_view ReviewProperty = "BRREVIEW";

// A review's value as short as it reads, whatever the locale: "0.25", "-1".
std::string sgfReal(double value)
{
    std::array<char, 16> digits{};
    char* end = std::to_chars(digits.data(), digits.data() + digits.size(), std::clamp(value, -1.0, 1.0),
                              std::chars_format::fixed, 3).ptr;
    std::string out(digits.data(), end);
    while (out.back() == '0')
        out.pop_back();
    if (out.back() == '.')
        out.pop_back();
    return out == "-0" ? "0" : out;
}

// A comment as text for the player: line breaks as '\n', other control
// characters as blanks, and at most MaxCommentBytes, cut between characters.
std::string sgfComment(std::string_view value)
{
    const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    std::string out;
    size_t i = 0;
    for (; i < value.size() && out.size() < MaxCommentBytes; ++i) {
        char c = value[i];
        if (c == '\r') {
            if (i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            c = '\n';
        } else if (c != '\n' && (static_cast<unsigned char>(c) < 32 || c == 127)) {
            c = ' ';
        }
        out += c;
    }
    // The cap fell inside a UTF-8 character: it goes whole.
    if (i < value.size() && continuation(value[i])) {
        while (!out.empty() && continuation(out.back()))
            out.pop_back();
        if (!out.empty())
            out.pop_back();
    }
    return out;
}

// One property of a move's note, as any program writes it.
void readNote(Note& note, const std::string& id, std::string_view value)
{
    if (id == "V") {
        value = trim(value);
        if (value.starts_with('+')) // SGF allows the sign; from_chars does not
            value.remove_prefix(1);
        if (double v = 0; parseNumber(value, v) && std::isfinite(v)) {
            note.valued = true;
            note.value = std::clamp(v, -1.0, 1.0);
        }
    } else if (id == "BM") {
        note.mark = Note::Mark::Bad; // BM[2], very bad, is no worse here
    } else if (id == "DO" && note.mark != Note::Mark::Bad) {
        note.mark = Note::Mark::Doubtful;
    } else if (id == "C") {
        note.comment = sgfComment(value);
    }
}

std::string sgfPoint(int32_t row, int32_t col)
{
    return {static_cast<char>('a' + col), static_cast<char>('a' + row)};
}

std::string sgfResult(const Record& record)
{
    switch (record.result) {
    case Result::RedWins:
        return record.onTime ? "B+T" : "B+";
    case Result::BlueWins:
        return record.onTime ? "W+T" : "W+";
    case Result::Draw:
        return "0";
    case Result::None:
        break;
    }
    return "";
}

struct Property {
    std::string id;
    std::vector<std::string> values;
    int32_t line = 1;
};
using Node = std::vector<Property>;

// Reads the main line of the first game in a collection: the nodes from the
// root down the first variation at every branch. Variations are skipped, and
// so are the games after the first.
class SgfParser {
public:
    explicit SgfParser(std::string_view text) : text_(text) {}

    std::variant<std::vector<Node>, Error> mainLine()
    {
        skipBlanks();
        if (!eat('('))
            return fail(line_, "This is not a game record: an SGF record begins with \"(;\".");
        std::vector<Node> nodes;
        int depth = 1;
        bool descending = true;
        while (depth > 0) {
            skipBlanks();
            if (pos_ >= text_.size())
                return fail(line_, "The record ends before its last \")\".");
            const char c = text_[pos_];
            if (c == ';' && descending) {
                ++pos_;
                auto node = readNode();
                if (std::holds_alternative<Error>(node))
                    return std::get<Error>(node);
                nodes.push_back(std::move(std::get<Node>(node)));
            } else if (c == '(' && descending) {
                ++pos_;
                ++depth;
            } else if (c == '(') {
                if (auto error = skipTree())
                    return *error;
            } else if (c == ')') {
                ++pos_;
                --depth;
                descending = false;
            } else {
                return fail(line_, std::string("Unexpected \"") + (c >= 32 && c < 127 ? std::string(1, c) : "?") +
                                       "\" where a node, a variation or \")\" belongs.");
            }
        }
        if (nodes.empty())
            return fail(line_, "The record holds no game.");
        return nodes;
    }

private:
    bool eat(char c)
    {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void advance()
    {
        if (text_[pos_] == '\n' || (text_[pos_] == '\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n')))
            ++line_;
        ++pos_;
    }

    void skipBlanks()
    {
        while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ')
            advance();
    }

    std::variant<Node, Error> readNode()
    {
        Node node;
        for (;;) {
            skipBlanks();
            if (pos_ >= text_.size() || !std::isalpha(static_cast<unsigned char>(text_[pos_])))
                return node;
            Property p;
            p.line = line_;
            // Lower-case letters in a name are an older format's; they do not count.
            while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) {
                if (std::isupper(static_cast<unsigned char>(text_[pos_])))
                    p.id += text_[pos_];
                ++pos_;
            }
            skipBlanks();
            while (pos_ < text_.size() && text_[pos_] == '[') {
                auto value = readValue();
                if (!value)
                    return fail(p.line, "The value of " + p.id + " has no closing \"]\".");
                p.values.push_back(std::move(*value));
                skipBlanks();
            }
            if (p.values.empty())
                return fail(p.line, "The property " + oneLine(p.id) + " has no value in brackets.");
            node.push_back(std::move(p));
        }
    }

    std::optional<std::string> readValue()
    {
        ++pos_; // '['
        std::string value;
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == ']') {
                ++pos_;
                return value;
            }
            if (c == '\\') {
                advance();
                if (pos_ >= text_.size())
                    break;
                c = text_[pos_];
            }
            value += c;
            advance();
        }
        return std::nullopt;
    }

    std::optional<Error> skipTree()
    {
        const int32_t start = line_;
        int depth = 0;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '[') {
                if (!readValue())
                    return fail(start, "A variation's value has no closing \"]\".");
                continue;
            }
            advance();
            if (c == '(')
                ++depth;
            else if (c == ')' && --depth == 0)
                return std::nullopt;
        }
        return fail(start, "A variation has no closing \")\".");
    }

    std::string_view text_;
    size_t pos_ = 0;
    int32_t line_ = 1;
};

// A point "jk" (column j, row k); none for anything else, the empty pass included.
std::optional<Move> sgfMove(std::string_view value)
{
    if (value.size() != 2 || !std::islower(static_cast<unsigned char>(value[0])) ||
        !std::islower(static_cast<unsigned char>(value[1])))
        return std::nullopt;
    Move m;
    m.col = value[0] - 'a';
    m.row = value[1] - 'a';
    return m;
}

// "aa" or the rectangle "aa:cc" of a list of set-up stones.
std::optional<std::vector<Move>> sgfPoints(std::string_view value)
{
    const size_t colon = value.find(':');
    const auto from = sgfMove(value.substr(0, colon));
    const auto to = colon == std::string_view::npos ? from : sgfMove(value.substr(colon + 1));
    if (!from || !to)
        return std::nullopt;
    std::vector<Move> points;
    for (int32_t col = std::min(from->col, to->col); col <= std::max(from->col, to->col); ++col)
        for (int32_t row = std::min(from->row, to->row); row <= std::max(from->row, to->row); ++row)
            points.push_back({row, col});
    return points;
}

std::string sgfSize(std::string_view value)
{
    const size_t colon = value.find(':');
    if (colon == std::string_view::npos)
        return std::string(value) + " x " + std::string(value);
    return std::string(value.substr(0, colon)) + " x " + std::string(value.substr(colon + 1));
}

// Set-up stones are taken as the first moves, in turns, the opener's first.
// `next` is the colour of the first move played after them (0 for none).
std::optional<Error> setUpFirst(Record& record, const std::vector<Move>& black, const std::vector<Move>& white,
                                char next, int32_t line)
{
    const size_t b = black.size();
    const size_t w = white.size();
    if (b == w)
        record.first = next == MarkO ? MarkO : MarkX;
    else if (b == w + 1 && next != MarkX)
        record.first = MarkX;
    else if (w == b + 1 && next != MarkO)
        record.first = MarkO;
    else
        return fail(line, "The set-up stones are not a position that moves in turn could reach.");
    const std::vector<Move>& opener = record.first == MarkX ? black : white;
    const std::vector<Move>& other = record.first == MarkX ? white : black;
    for (size_t k = 0; k < opener.size(); ++k) {
        record.moves.push_back(opener[k]);
        if (k < other.size())
            record.moves.push_back(other[k]);
    }
    return std::nullopt;
}

} // namespace

std::string toSgf(const Record& record)
{
    std::string out = "(;FF[4]GM[4]SZ[20]CA[UTF-8]";
    if (!record.application.empty())
        out += "AP[" + sgfText(record.application) + "]";
    out += "\nPB[" + sgfText(record.red) + "]PW[" + sgfText(record.blue) + "]";
    if (!record.date.empty())
        out += "DT[" + sgfText(record.date) + "]";
    if (const std::string result = sgfResult(record); !result.empty())
        out += "RE[" + result + "]";
    if (record.timeLimitSec > 0)
        out += "TM[" + std::to_string(record.timeLimitSec) + "]";
    // Notes that do not go one to a move are not written; without a review's
    // notes, BRREVIEW would have the scores read back as its values.
    const bool noted = record.notes.size() == record.moves.size();
    const bool reviewed = record.reviewed && noted;
    for (const auto& [name, value] : record.kept)
        if (name != ReviewProperty)
            out += name + "[" + sgfText(value) + "]";
    if (reviewed)
        out += std::string(ReviewProperty) + "[1]";
    if (record.first == MarkO)
        out += "PL[W]";
    for (size_t i = 0; i < record.moves.size(); ++i) {
        const Move& m = record.moves[i];
        const bool red = (i % 2 == 0) == (record.first == MarkX);
        out += std::string(i % 10 == 0 ? "\n" : "") + ";" + (red ? "B" : "W") + "[" + sgfPoint(m.row, m.col) + "]";
        const Note* note = noted ? &record.notes[i] : nullptr;
        // One V a node: the review's value, or else the score as SGF values it, from black's side.
        if (reviewed && note->valued && std::isfinite(note->value))
            out += "V[" + sgfReal(note->value) + "]";
        else if (!reviewed && m.score != 0)
            out += "V[" + std::to_string(red ? m.score : -m.score) + "]";
        if (note && note->mark == Note::Mark::Bad)
            out += "BM[1]";
        if (note && note->mark == Note::Mark::Doubtful)
            out += "DO[]";
        // How long the move took has no property of the format's own.
        if (m.ms >= 0)
            out += "BRMS[" + std::to_string(m.ms) + "]";
        if (note && !note->comment.empty())
            out += "C[" + sgfText(note->comment) + "]";
    }
    return out + ")\n";
}

ReadResult readSgf(std::string_view text)
{
    SgfParser parser(withoutByteOrderMark(text));
    auto parsed = parser.mainLine();
    if (std::holds_alternative<Error>(parsed))
        return std::get<Error>(parsed);
    const std::vector<Node>& nodes = std::get<std::vector<Node>>(parsed);

    Record record;
    std::vector<Move> black;
    std::vector<Move> white;
    // The colour of the last move, 0 before the first.
    char last = 0;
    for (size_t n = 0; n < nodes.size(); ++n) {
        for (const Property& p : nodes[n]) {
            const std::string& value = p.values.front();
            const bool root = n == 0;
            if (root && p.id == "GM" && value != "4")
                return fail(p.line, "This is not a five-in-a-row record: its game type is GM[" + oneLine(value) + "], not GM[4].");
            if (root && p.id == "SZ") {
                if (value != "20" && value != "20:20")
                    return fail(p.line, boardSizeMessage(oneLine(sgfSize(value))));
            }
            if (root && p.id == "PB")
                record.red = oneLine(value);
            if (root && p.id == "PW")
                record.blue = oneLine(value);
            if (root && p.id == "DT")
                record.date = oneLine(value);
            if (root && p.id == "AP")
                record.application = oneLine(value);
            if (root && p.id == "TM")
                parseNumber(value, record.timeLimitSec);
            if (root && p.id == "RE" && !value.empty()) {
                if (value[0] == 'B' || value[0] == 'W') {
                    record.result = value[0] == 'B' ? Result::RedWins : Result::BlueWins;
                    record.onTime = value.size() > 2 && value[2] == 'T';
                } else if (value[0] == '0' || value.starts_with("Draw")) {
                    record.result = Result::Draw;
                }
            }
            if (root && p.id == ReviewProperty)
                record.reviewed = true;
            else if (root && p.id.starts_with("BR") && p.id != "BRMS")
                record.kept[p.id] = value;
            if (p.id == "AB" || p.id == "AW") {
                if (last != 0)
                    return fail(p.line, "Stones are set up in the middle of the game; Brindle can only show a game played move by move.");
                for (const std::string& v : p.values) {
                    const auto points = sgfPoints(v);
                    if (!points)
                        return fail(p.line, "\"" + oneLine(v) + "\" is not a cell of the board.");
                    if (black.size() + white.size() + points->size() > static_cast<size_t>(CellCount))
                        return fail(p.line, "More stones are set up than the board has cells.");
                    for (Move m : *points) {
                        m.line = p.line;
                        (p.id == "AB" ? black : white).push_back(m);
                    }
                }
            }
            if (p.id == "AE")
                return fail(p.line, "Stones are taken off the board (AE); five in a row never does that.");
            if (p.id == "B" || p.id == "W") {
                const char colour = p.id == "B" ? MarkX : MarkO;
                if (value.empty())
                    return fail(p.line, "A move passes; five in a row has no passes.");
                auto m = sgfMove(value);
                if (!m)
                    return fail(p.line, "\"" + oneLine(value) + "\" is not a cell of the board.");
                if (last == colour)
                    return fail(p.line, std::string(colour == MarkX ? "Black" : "White") + " plays twice in a row.");
                if (last == 0) {
                    if (auto error = setUpFirst(record, black, white, colour, p.line))
                        return *error;
                }
                last = colour;
                m->line = p.line;
                record.moves.push_back(*m);
            }
        }
        // The values that go with the node's move.
        if (last == 0 || record.moves.empty())
            continue;
        for (const Property& p : nodes[n]) {
            Move& m = record.moves.back();
            // A review's V is its value, not the computer's score.
            if ((p.id == "V" && record.reviewed) || p.id == "BM" || p.id == "DO" || p.id == "C") {
                record.notes.resize(record.moves.size());
                readNote(record.notes.back(), p.id, p.values.front());
            } else if (p.id == "V") {
                const double v = std::strtod(p.values.front().c_str(), nullptr);
                const double own = last == MarkX ? v : -v;
                if (std::isfinite(own))
                    m.score = static_cast<int32_t>(std::clamp(own, -1e9, 1e9));
            }
            if (p.id == "BRMS")
                if (int64_t ms = -1; parseNumber(p.values.front(), ms) && ms >= 0)
                    m.ms = ms;
        }
    }
    // A record of set-up stones alone.
    if (last == 0) {
        if (auto error = setUpFirst(record, black, white, 0, black.empty() && white.empty() ? 1 : (black.empty() ? white : black).front().line))
            return *error;
    }
    if (record.reviewed || !record.notes.empty())
        record.notes.resize(record.moves.size());
    if (auto error = checkMoves(record); std::holds_alternative<Error>(error))
        return std::get<Error>(error);
    return record;
}

ReadResult read(std::string_view text)
{
    const std::string_view start = withoutByteOrderMark(text);
    const size_t first = start.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && start[first] == '(')
        return readSgf(text);
    if (first != std::string_view::npos && start.substr(first).starts_with(PsqHeader))
        return readPsq(text);
    return fail(1, "This is not a game record: Brindle opens SGF (.sgf) and Piskvork (.psq) records.");
}

std::variant<std::monostate, Error> checkMoves(const Record& record)
{
    std::array<std::array<char, BoardSize>, BoardSize> board{};
    char colour = record.first;
    size_t wonBy = 0;
    for (size_t i = 0; i < record.moves.size(); ++i, colour = otherMark(colour)) {
        const Move& m = record.moves[i];
        const std::string move = "Move " + std::to_string(i + 1);
        if (!onBoard(m.row, m.col))
            return fail(m.line, move + " is off the board (" + cellName(m.row, m.col) + ").");
        char& cell = board[static_cast<size_t>(m.row)][static_cast<size_t>(m.col)];
        if (cell != 0)
            return fail(m.line, move + " is on a stone already there (" + cellName(m.row, m.col) + ").");
        if (wonBy != 0)
            return fail(m.line, move + " comes after move " + std::to_string(wonBy) + " had won the game.");
        cell = colour;
        if (inLineOfFive(m.row, m.col, [&](int32_t r, int32_t c) {
                return board[static_cast<size_t>(r)][static_cast<size_t>(c)] == colour;
            }))
            wonBy = i + 1;
    }
    return std::monostate{};
}

std::string cellName(int32_t row, int32_t col)
{
    return "row " + std::to_string(row + 1) + ", column " + std::to_string(col + 1);
}

} // namespace brindle::record
