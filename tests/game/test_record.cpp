#include "game/record.h"

#include <sstream>

#include <gtest/gtest.h>

namespace brindle::record {
namespace {

Record readOk(std::string_view text)
{
    ReadResult result = read(text);
    if (const auto* e = std::get_if<Error>(&result))
        ADD_FAILURE() << "line " << e->line << ": " << e->message << "\nin:\n" << text;
    return std::holds_alternative<Record>(result) ? std::get<Record>(result) : Record{};
}

// A record in one line: the opener, each move as row,column (from 1) with its
// time and score when known, the players, the result, the date, the time limit
// and the kept values: "O: 10,10 1200ms, 10,11 40ms 371 | Ann - Bo | blue wins on time | 2026-12-08 | 300 s | BRCLOCK=83";
// then any notes, each after a bar: " reviewed | 0.25 | -1 bad: why | doubtful".
std::string text(const Record& r)
{
    static const char* const results[] = {"unfinished", "red wins", "blue wins", "draw"};
    static const char* const marks[] = {"", " doubtful", " bad"};
    std::string out = std::string(1, r.first) + ":";
    for (const Move& m : r.moves)
        out += " " + std::to_string(m.row + 1) + "," + std::to_string(m.col + 1) + (m.ms >= 0 ? " " + std::to_string(m.ms) + "ms" : "") +
               (m.score ? " " + std::to_string(m.score) : "") + (&m == &r.moves.back() ? "" : ",");
    out += std::string(" | ") + r.red + " - " + r.blue + " | " + results[int(r.result)] + (r.onTime ? " on time" : "") + " | " + r.date +
           " | " + std::to_string(r.timeLimitSec) + " s |";
    for (const auto& [name, value] : r.kept)
        out += " " + name + "=" + value;
    std::ostringstream notes;
    for (const Note& n : r.notes)
        (n.valued ? notes << " | " << n.value : notes << " |") << marks[int(n.mark)] << (n.comment.empty() ? "" : ": ") << n.comment;
    return out + (r.reviewed ? " reviewed" : "") + notes.str();
}

TEST(Record, SgfKeepsEverythingItWritesAndPsqTheMovesTimesPlayersAndResult)
{
    Record r{MarkO, {{9, 9, 1200, 0}, {9, 10, 40, 371}, {0, 19, 0, 12}, {19, 0, -1, -25}}, "Alice [the] \\host", "Computer (Hard)",
             Result::BlueWins, true, "2026-12-08", 300, "", {{"BRMODE", "HumanComputer"}, {"BRCLOCK", "83"}}};
    EXPECT_EQ(toSgf(r), "(;FF[4]GM[4]SZ[20]CA[UTF-8]\nPB[Alice [the\\] \\\\host]PW[Computer (Hard)]DT[2026-12-08]RE[W+T]TM[300]"
                        "BRCLOCK[83]BRMODE[HumanComputer]PL[W]\n;W[jj]BRMS[1200];B[kj]V[371]BRMS[40];W[ta]V[-12]BRMS[0];B[at]V[-25])\n");
    EXPECT_EQ(text(readOk(toSgf(r))), text(r));
    const std::string psq = toPsq(r);
    EXPECT_TRUE(psq.starts_with("Piskvorky 20x20, 11:11, 0\n10,10,1200\n11,10,40\n20,1,0\n1,20,0\n")) << psq;
    for (const auto& [result, words] : {std::pair(Result::RedWins, "Red wins"), {Result::BlueWins, "Blue wins on time"},
                                        {Result::Draw, "Draw"}, {Result::None, "Unfinished"}}) {
        r.result = result, r.onTime = result != Result::RedWins; // a draw or an unfinished game is never on time
        EXPECT_NE(toPsq(r).find(std::string("\n") + words + "\n"), std::string::npos) << words;
        EXPECT_EQ(text(readOk(toPsq(r))), "X: 10,10 1200ms, 10,11 40ms, 1,20 0ms, 20,1 0ms | Alice [the] \\host - Computer (Hard) | " +
                                               std::string(result == Result::BlueWins ? "blue wins on time" : result == Result::RedWins ? "red wins" :
                                                           result == Result::Draw ? "draw" : "unfinished") + " | 2026-12-08 | 0 s |");
    }
}

TEST(Record, AReviewComesBackWithItsValuesMarksAndCommentsInPlaceOfTheScores)
{
    Record r;
    r.moves = {{9, 9, 500, 12}, {9, 10, -1, 40}, {10, 10, -1, 0}, {0, 0, -1, 7}};
    r.notes = {{true, 0.25}, {true, -1.0 / 3, Note::Mark::Bad, "k10 [was] \\ better"}, {true, 1, Note::Mark::Doubtful, "two\nlines"}, {true, -0.00001}};
    r.reviewed = true;
    EXPECT_NE(toSgf(r).find("BRREVIEW[1]\n;B[jj]V[0.25]BRMS[500];W[kj]V[-0.333]BM[1]C[k10 [was\\] \\\\ better];B[kk]V[1]DO[]C[two\nlines];W[aa]V[0])"),
              std::string::npos) << toSgf(r);
    EXPECT_EQ(text(readOk(toSgf(r))), "X: 10,10 500ms, 10,11, 11,11, 1,1 |  -  | unfinished |  | 0 s | reviewed | 0.25 | -0.333 bad: k10 [was] \\ better | "
                                      "1 doubtful: two\nlines | 0") << "no scores, nothing kept";
    // Notes that are not one a move are no review, whatever is kept: the scores are written instead.
    r.notes.pop_back();
    r.kept = {{"BRREVIEW", "1"}};
    EXPECT_EQ(text(readOk(toSgf(r))), "X: 10,10 500ms 12, 10,11 40, 11,11, 1,1 7 |  -  | unfinished |  | 0 s |");
}

TEST(Record, ReadsWhatOtherProgramsWrite)
{
    // Piskvork on Windows: CR LF, blanks, the brains' files and its closing numbers.
    EXPECT_EQ(text(readOk("Piskvorky 20x20, 11:11, 0\r\n10,10,0\r\n 11,10,1532 \r\n9,9\r\npbrain-one.zip\r\npbrain-two.zip\r\n-1\r\n1,Freestyle\r\n")),
              "X: 10,10 0ms, 10,11 1532ms, 9,9 | pbrain-one.zip - pbrain-two.zip | unfinished |  | 0 s |");
    // SGF with a byte order mark, comments (the moves' kept and written back), marks (TE, a good
    // move, is none), escapes, lower-case letters in names, variations of which only the first
    // counts, and a second game. Without BRREVIEW, V is the computer's score as ever.
    const Record other = readOk("\xEF\xBB\xBF (;GaMe[4]FF[4]SZ[20]PB[Ann \\] B.]PW[Bo]RE[B+R]C[a comment (with ;B[aa\\])]\n"
                                ";B[jj]C[first\r\nline\x01]\n;W[kj]TE[1]BM[2]DO[]\n(;B[jk]V[12.5];W[ak](;B[ss])(;B[tt]))\n(;B[aa])\n)(;B[bb])");
    EXPECT_EQ(text(other), "X: 10,10, 10,11, 11,10 12, 11,1, 19,19 | Ann ] B. - Bo | red wins |  | 0 s | |: first\nline  | bad | | |");
    EXPECT_EQ(text(readOk(toSgf(other))), text(other));
    // Set-up stones are the first moves, taken in turns; the row of a rectangle "ab:ac" counts as two.
    EXPECT_EQ(text(readOk("(;GM[4]SZ[20:20]AB[jj][ab:ac]AW[kk][ll];W[mm])")), "X: 10,10, 11,11, 2,1, 12,12, 3,1, 13,13 |  -  | unfinished |  | 0 s |");
    EXPECT_EQ(text(readOk("(;SZ[20]AW[jj];B[kk])")), "O: 10,10, 11,11 |  -  | unfinished |  | 0 s |");
    EXPECT_EQ(readOk("(;SZ[20]AB[aa][bb]AW[cc])").moves.size(), 3u);
    EXPECT_EQ(readOk("(;SZ[20]PL[W];W[aa];B[bb])").first, MarkO);
}

TEST(Record, EveryBadRecordNamesItsLine)
{
    const std::string good = "Piskvorky 20x20, 11:11, 0\n";
    const struct {
        std::string text;
        int32_t line;
        std::string says;
    } cases[] = {
        {"", 1, "not a game record"}, {"hello\nworld\n", 1, "not a game record"}, {"Piskvorky, 0\n", 1, "does not give the board size"},
        {"Piskvorky 15x15, 11:11, 0\n1,1,0\n", 1, "The board is 15x15; Brindle plays on 20 x 20 only."},
        {good + "3,x,5\n", 2, "\"3,x,5\" is not a move"}, {good + "3,4,5,6\n", 2, "is not a move"}, {good + "3,4,-5\n", 2, "is not a move"},
        {good + "1,1,0\n21,3,0\n", 3, "Move 2 is off the board (row 3, column 21)."},
        {good + "1,1,0\n0,3,0\n", 3, "Move 2 is off the board (row 3, column 0)."},
        {good + "1,1,0\n4,4,0\n1,1,0\n", 4, "Move 3 is on a stone already there (row 1, column 1)."},
        {good + "1,1\n1,2\n2,1\n2,2\n3,1\n3,2\n4,1\n4,2\n5,1\n5,2\n", 11, "Move 10 comes after move 9 had won the game."},
        {"Piskvorky 20x20\n1,-2147483648,0\n", 2, "Move 1 is off the board (row -2147483648, column 1)."},
        {"(;GM[4]\nSZ[15]\n;B[aa])", 2, "The board is 15 x 15"}, {"(;GM[4]SZ[19:20];B[aa])", 1, "The board is 19 x 20"},
        {"(;GM[1]SZ[20];B[aa])", 1, "GM[1], not GM[4]"}, {"(;SZ[20]\n;B[aa]\n;B[bb])", 3, "Black plays twice in a row."},
        {"\r\n(;SZ[20]\r\n;B[aa]\r\n;B[bb])", 4, "Black plays twice"}, {"(;SZ[20]\r;B[aa]\r;B[bb])", 3, "Black plays twice"},
        {"(;SZ[20];B[aa];W[])", 1, "passes"}, {"(;SZ[20];B[aa];W[uu])", 1, "Move 2 is off the board (row 21, column 21)."},
        {"(;SZ[20];B[a])", 1, "\"a\" is not a cell"}, {"(;SZ[20];B[aA])", 1, "\"aA\" is not a cell"}, {"()", 1, "holds no game"},
        {"(;SZ[20];B[aa];W[bb];AB[cc])", 1, "set up in the middle"}, {"(;SZ[20]AB[aa][bb][cc])", 1, "not a position"},
        {"(;SZ[20]AB[aa][zz:a])", 1, "not a cell"}, {"(;SZ[20];B[aa];AE[aa])", 1, "taken off the board"},
        {"(;SZ[20]\n;B[aa]", 2, "ends before its last"}, {"(;SZ[20]\n;B[aa\n", 2, "no closing \"]\""},
        {"(;SZ[20];B[aa](;W[bb])\n(;W[cc]", 2, "A variation has no closing"}, {"(;SZ[20];B[aa]X)", 1, "has no value"},
        {"(;SZ[20];B[aa]]", 1, "Unexpected \"]\""},
    };
    for (const auto& c : cases) {
        const ReadResult result = read(c.text);
        const Error e = std::holds_alternative<Error>(result) ? std::get<Error>(result) : Error{0, "read"};
        EXPECT_TRUE(e.line == c.line && e.message.find(c.says) != std::string::npos) << c.text << "\nline " << e.line << ": " << e.message;
    }
    // The kept game is read as SGF whatever the file holds.
    for (const char* kept : {"", "B[aa])", "Piskvorky 20x20, 11:11, 0\n"})
        EXPECT_NE(std::get<Error>(readSgf(kept)).message.find("begins with \"(;\""), std::string::npos) << kept;
}

TEST(Record, OddInputFromAnywhereIsReadSafely)
{
    // Players without names, or with names that look like moves, keep their places.
    Record unnamed;
    unnamed.moves = {{0, 0}};
    unnamed.blue = "1,1", unnamed.result = Result::RedWins;
    EXPECT_EQ(text(readOk(toPsq(unnamed))), "X: 1,1 0ms |  - 1 1 | red wins |  | 0 s |");
    EXPECT_EQ(readOk("\n\nPiskvorky 20x20, 11:11, 0\n\x01 Ann \x02\nBo\n").red, "Ann") << "blanks and controls trimmed";
    EXPECT_TRUE(readOk("(;)").moves.empty());
    EXPECT_EQ(text(readOk("(;TM[60x];B[aa]V[nan]BRMS[-5];W[bb]V[1e300]BRMS[12x])")), "X: 1,1, 2,2 -1000000000 |  -  | unfinished |  | 0 s |");
    EXPECT_EQ(text(readOk("(;BRREVIEW[1];B[jj]V[nan];W[kj]V[0.5x];B[kk]V[ +2];W[ll]V[-1e9]C[" + std::string(999, 'a') + "\xC3\xA9])")),
              "X: 10,10, 10,11, 11,11, 12,12 |  -  | unfinished |  | 0 s | reviewed | | | 1 | -1: " + std::string(999, 'a')) << "a long comment is cut between characters";
    std::string crowded = "(;SZ[20]";
    for (int i = 0; i < 1000; ++i)
        crowded += "AB[aa:zz]";
    EXPECT_EQ(std::get<Error>(read(crowded + ")")).message, "More stones are set up than the board has cells.");
}

} // namespace
} // namespace brindle::record
