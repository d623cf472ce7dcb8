// Arbitrary bytes as a game record, to read() and to each format's reader.
// A record they return goes on the board as it stands, and what either
// writer makes of it reads back as the same game: the moves, their times
// and scores, the players and the result (SGF also keeps the opener's
// colour and the notes on the moves, a value to three decimals; a .psq line
// loses blanks at its ends and writes an unknown time as 0).

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "game/record.h"

namespace {

using namespace brindle::record;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

Record readBack(const std::string& text)
{
    ReadResult result = read(text);
    require(std::holds_alternative<Record>(result));
    return std::get<Record>(std::move(result));
}

// A name as a .psq line keeps it: without blanks at either end, and with
// blanks for commas when it would read as a move.
std::string psqName(const std::string& name)
{
    const size_t first = name.find_first_not_of(' ');
    std::string out = first == std::string::npos ? "" : name.substr(first, name.find_last_not_of(' ') - first + 1);
    if (!out.empty() && out[0] >= '0' && out[0] <= '9' && out.find(',') != std::string::npos) {
        std::replace(out.begin(), out.end(), ',', ' ');
        return psqName(out);
    }
    return out;
}

bool sameResult(const Record& a, const Record& b)
{
    const bool win = a.result == Result::RedWins || a.result == Result::BlueWins;
    return a.result == b.result && (!win || a.onTime == b.onTime);
}

void check(const ReadResult& result)
{
    const Record* r = std::get_if<Record>(&result);
    if (r == nullptr)
        return;
    require(std::holds_alternative<std::monostate>(checkMoves(*r)));
    for (const Move& m : r->moves)
        require(m.row >= 0 && m.row < brindle::BoardSize && m.col >= 0 && m.col < brindle::BoardSize && m.ms >= -1);
    for (const std::string* name : {&r->red, &r->blue})
        for (char c : *name)
            require(static_cast<unsigned char>(c) >= 32 && c != 127);

    const Record sgf = readBack(toSgf(*r));
    require(sgf.first == r->first && sgf.red == r->red && sgf.blue == r->blue && sameResult(*r, sgf));
    require(sgf.moves.size() == r->moves.size());
    for (size_t i = 0; i < r->moves.size(); ++i) {
        const Move& a = r->moves[i];
        const Move& b = sgf.moves[i];
        require(a.row == b.row && a.col == b.col && a.score == b.score && a.ms == b.ms);
    }
    // Notes that say nothing are not written, and so may not come back.
    require(sgf.reviewed == r->reviewed && (sgf.notes.empty() || sgf.notes.size() == r->notes.size()));
    for (size_t i = 0; i < r->notes.size(); ++i) {
        const Note& a = r->notes[i];
        const Note b = i < sgf.notes.size() ? sgf.notes[i] : Note{};
        require(a.valued == b.valued && std::abs(a.value - b.value) <= 0.0005 && a.mark == b.mark && a.comment == b.comment);
        require(a.value >= -1 && a.value <= 1 && a.comment.size() <= MaxCommentBytes);
    }

    const Record psq = readBack(toPsq(*r));
    require(psq.red == psqName(r->red) && psq.blue == psqName(r->blue) && sameResult(*r, psq));
    require(psq.moves.size() == r->moves.size());
    for (size_t i = 0; i < r->moves.size(); ++i) {
        const Move& a = r->moves[i];
        const Move& b = psq.moves[i];
        require(a.row == b.row && a.col == b.col && b.ms == (a.ms >= 0 ? a.ms : 0));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxBytes)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(read(text));
    check(readPsq(text));
    check(readSgf(text));
    return 0;
}
