#pragma once
// Game records in the field's two formats: Piskvork's .psq, which engine
// tools and tournament records use, and SGF (FF[4], GM[4] for five in a
// row). The readers take what other programs write as well as our own, and
// check every move against the rules of the board, so that a record they
// return can be put on the board as it stands.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "types.h"

namespace brindle::record {

// The largest file read as a record.
inline constexpr size_t MaxBytes = 1024 * 1024;

struct Move {
    int32_t row = 0; // from 0, top to bottom
    int32_t col = 0; // from 0, left to right
    // How long the move took, in milliseconds; -1 when not known.
    int64_t ms = -1;
    // The computer's score for the move, 0 for any other player's.
    int32_t score = 0;
    // The line of the file it was read from; 0 for a move not read.
    int32_t line = 0;
};

enum class Result { None, RedWins, BlueWins, Draw };

// A review's word on one move: SGF's V, BM, DO and C on the move's node.
struct Note {
    bool valued = false;
    double value = 0; // the position after the move, from red's side (SGF's black): -1 (blue wins) to 1 (red wins)
    enum class Mark { None, Doubtful, Bad } mark = Mark::None; // DO[] and BM[1]
    std::string comment = ""; // C[], free text of any characters
};

// The longest comment kept from a file, in bytes.
inline constexpr size_t MaxCommentBytes = 1000;

struct Record {
    // The colour that opened: red (MarkX) in every game but some network games.
    char first = MarkX;
    std::vector<Move> moves;
    std::string red = "";  // who played red (SGF's black, psq's first player)
    std::string blue = ""; // who played blue
    Result result = Result::None;
    bool onTime = false;   // the result came from a clock running out
    std::string date = ""; // YYYY-MM-DD
    int32_t timeLimitSec = 0; // each side's time for the game, 0 for none
    std::string application = ""; // "Brindle:1.4.0", for SGF's AP
    // Brindle's own values that only a record kept between runs carries
    // (SGF properties of the root node whose names start with "BR").
    std::map<std::string, std::string> kept;
    // A review's notes, or the marks and comments another program wrote on the moves.
    std::vector<Note> notes = {}; // empty, or one per move
    bool reviewed = false;        // the notes come from a review of the whole game
};

std::string toPsq(const Record& record);
// Each move's time is a property of Brindle's own, which other programs pass over.
// Notes that go one to a move are written on the moves' nodes. A reviewed
// record's V values are the review's, and its root says so (BRREVIEW[1]),
// since V otherwise holds the computer's own score.
std::string toSgf(const Record& record);

struct Error {
    int32_t line = 1;
    std::string message; // a sentence, for the player
};
using ReadResult = std::variant<Record, Error>;

// Either format, told apart by the text itself.
ReadResult read(std::string_view text);
ReadResult readPsq(std::string_view text);
ReadResult readSgf(std::string_view text);

// The first move that breaks the rules: off the board, onto a stone, or
// after a line of five had already won. A record read by the readers
// passes; one made elsewhere is checked before it goes on the board.
std::variant<std::monostate, Error> checkMoves(const Record& record);

// "row 3, column 12", for the cell at row 2, column 11.
std::string cellName(int32_t row, int32_t col);

} // namespace brindle::record
