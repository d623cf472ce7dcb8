// The bytes of the messages the game sends: exactly as the other copy reads them.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/protocol.h"

namespace brindle::protocol {
namespace {

struct Case { std::string in, out; };

TEST(Protocol, TextTravelsAsLatin1WithOneQuestionMarkPerBrokenPieceAndChatIsShownClean)
{
    const Case toLatin1[] = {
        {std::string("a\0b", 3), std::string("a\0b", 3)}, {"\xC4\x80", "?"}, {"a\xE4\xB8\xAD" "b", "a?b"},
        {"\xE0\xA0\x80", "?"}, {"x\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "x??"}, {"\xF4\x8F\xBF\xBF", "?"},
        // Cut off, then the next character survives.
        {"a\xC3", "a?"}, {"\xE4\xB8" "A", "?A"}, {"\xC3\xA9\x80", "\xE9?"},
        // Overlong forms, surrogates, past U+10FFFF, bytes never used.
        {"\xC0\xAF", "??"}, {"\xE0\x80\xAF", "???"}, {"\xF0\x80\x80\xAF", "????"}, {"\xED\xA0\x80", "???"},
        {"\xF4\x90\x80\x80", "????"}, {"\xF5\x80", "??"},
    };
    for (const auto& c : toLatin1)
        EXPECT_EQ(toWire(c.in), c.out) << testing::PrintToString(c.in);
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    EXPECT_EQ(fromWire(every).size(), 128u + 2u * 128u);
    EXPECT_EQ(toWire(fromWire(every)), every);

    // A chat text loses its controls, then its outer spaces, then all past 500 characters.
    std::string noisy = "   ";
    for (int i = 0; i < 500; ++i)
        noisy += "\xE9\x07";
    const Case chat[] = {
        {"     ", ""}, {" \t\r\n hi there \n", "hi there"}, {noisy + "b", fromWire(std::string(500, '\xE9'))},
        {"a\x01\x1F\x7F\x80\x9F~\xA0", "a~\xC2\xA0"}, // a no-break space is neither control nor trimmed
    };
    for (const auto& c : chat)
        EXPECT_EQ(chatText(c.in), c.out) << testing::PrintToString(c.in);
}

TEST(Protocol, ParseReadsTheFieldsOrCallsItMalformed)
{
    const Case cases[] = {
        {"~-~0312", "Move 3 12"}, {"~-~1919", "Move 19 19"}, {"~-~2000", "Malformed"}, {"~-~0320", "Malformed"},
        {"~-~03-1", "Malformed"}, {"~-~a312", "Malformed"}, {"~-~031", "Malformed"}, {"~-~", "Malformed"},
        // "NEWGAME" is looked for first: these digits would make a move.
        {"~-~0012NEWGAMEXAnn", "NewGame 'Ann' 12 X"}, {"~-~9999NEWGAMEO  Bo b  ", "NewGame 'Bo b' 9999 O"},
        {"~-~0060NEWGAMEX", "NewGame 60 X"}, {"~-~0060NEWGAMEZAnn", "Malformed"}, {"~-~0060NEWGAME", "Malformed"},
        {"~-~00a0NEWGAMEXAnn", "Malformed"}, {"~-~Check if connected  Bea Lee ", "Probe 'Bea Lee'"},
        {"~-~Check if connecte", "Malformed"}, {"~-~Your opponent has left the board.", "Leave"},
        {"~-~Your opponent has left the board", "Malformed"}, {"~-~TimeWinnerR", "TimeWinner R"},
        {"~-~TimeWinnerr", "Malformed"}, {"~-~TimeWinner", "Malformed"},
        {"  hi ~-~0312 ", "Chat '  hi ~-~0312 '"}, {"~-0312", "Chat '~-0312'"},
    };
    for (const auto& c : cases) {
        const Message m = parse(c.in);
        static const char* const kinds[] = {"Chat", "NewGame", "Probe", "Leave", "TimeWinner", "Move", "Malformed"};
        // Every field that is set, so a stray value in any of them shows.
        std::string s = kinds[static_cast<int>(m.kind)];
        s += m.text.empty() ? "" : " '" + m.text + "'";
        s += m.timeLimitSec != 0 ? " " + std::to_string(m.timeLimitSec) : "";
        for (const char ch : {m.firstMark, m.winner})
            s += ch != 0 ? std::string(" ") + ch : "";
        s += m.row != 0 || m.col != 0 ? " " + std::to_string(m.row) + " " + std::to_string(m.col) : "";
        EXPECT_EQ(s, c.out) << c.in;
    }
}

// The pieces a read makes, each in brackets.
std::string cut(Splitter& splitter, std::string_view bytes, int64_t at)
{
    std::string out;
    for (const std::string& piece : splitter.feed(bytes, at))
        out += "[" + piece + "]";
    return out;
}

TEST(Splitter, CutsTheStreamIntoItsMessagesWhereverTheReadsEnd)
{
    // Messages in brackets, chat between them. Markers never overlap; no
    // message is longer than its kind, and four digits begin a new game only
    // before "NEWGAME".
    const std::string whole = "hi~b-~c[~-~-~03]12[~-~TimeWinnerR]gg[" + leaveMessage() + "]bye[~-~0060]NEX[~-~00a0]NEW[" +
                              moveMessage(3, 12) + "][" + probeMessage("") + "]";
    std::string stream = whole;
    std::erase_if(stream, [](char c) { return c == '[' || c == ']'; });
    for (size_t cut1 = 0; cut1 <= stream.size(); ++cut1) { // three reads, cut at every pair of points
        for (size_t cut2 = cut1; cut2 <= stream.size(); ++cut2) {
            Splitter splitter;
            std::string got;
            const size_t cuts[] = {0, cut1, cut2, stream.size()};
            for (int i = 0; i < 3; ++i)
                for (const auto& piece : splitter.feed(stream.substr(cuts[i], cuts[i + 1] - cuts[i]), 0))
                    got += piece.starts_with(Marker) ? "[" + piece + "]" : piece;
            ASSERT_EQ(got + std::to_string(splitter.waiting()), whole + "0") << cut1 << " " << cut2;
        }
    }
    // A new game or a probe runs to the next marker or the end of the read,
    // and a marker ends any message before it, however short; four digits at
    // the end are a move at once, and so is the whole word.
    const Case oneRead[] = {
        {"~-~0060NEWGAMEXAnn Lee ~-~0312", "[~-~0060NEWGAMEXAnn Lee ][~-~0312]"}, {"hi ~-~0060", "[hi ][~-~0060]"},
        {"~-~Check if connectedBea", "[~-~Check if connectedBea]"}, {"~-~0060NEWGAME", "[~-~0060NEWGAME]"},
        {"~-~03~-~0405", "[~-~03][~-~0405]"}, {"~-~TimeWinner~-~0312", "[~-~Time][Winner][~-~0312]"},
        {"a~b-~c~~-", "[a~b-~c~]"}, {"abc~", "[abc]"}, // "~-" at the end may be a marker cut in two
    };
    for (const auto& c : oneRead) {
        Splitter splitter;
        EXPECT_EQ(cut(splitter, c.in, 0), c.out) << c.in;
        EXPECT_EQ(splitter.waiting(), c.in.ends_with("~-") ? 2u : c.in.ends_with("~") ? 1u : 0u) << c.in;
    }
    // Only a cut inside the word of a new game waits.
    const std::string newGame = newGameMessage(60, 'X', "Ann");
    for (size_t at = 8; at < 14; ++at) {
        Splitter splitter;
        const std::string first = cut(splitter, newGame.substr(0, at), 0);
        EXPECT_EQ(first + cut(splitter, newGame.substr(at), 10), "[" + newGame + "]");
    }
}

TEST(Splitter, HoldsAnUnfinishedMessageForHalfASecondFromItsFirstByte)
{
    struct Read { std::string bytes; int64_t at; std::string out; };
    const std::vector<Read> scripts[] = {
        // Held bytes that do not become a message go on as what they are.
        {{"~", 0, ""}, {"-~0312", 1, "[~-~0312]"}}, {{"hi~", 0, "[hi]"}, {"x", 1, "[~x]"}},
        {{"~-~03", 0, ""}, {"~-~0405", 1, "[~-~03][~-~0405]"}},
        {{"~-~0060NEW", 0, ""}, {"S", 1, "[~-~0060][NEWS]"}},
        // A new game or a probe at the end of a read leaves the next marker's first bytes held.
        {{"~-~0060NEWGAMEXAnn~-", 0, "[~-~0060NEWGAMEXAnn]"}, {"~0312", 1, "[~-~0312]"}},
        {{"~-~Check if connectedBob~", 0, "[~-~Check if connectedBob]"}, {"-~0312", 1, "[~-~0312]"}},
        // Past the wait the unfinished bytes are dropped, even by an empty read.
        {{"~-~0", 1000, ""}, {"3", 1500, ""}, {"12", 1501, "[12]"}}, {{"~-~Your", 0, ""}, {"", 501, ""}},
        // Bytes held after a whole message get their own clock.
        {{"~-~03", 1000, ""}, {"12~-~04", 1400, "[~-~0312]"}, {"05", 1900, "[~-~0405]"}},
        // Clocks at the ends of the range; one going back does not drop.
        {{"~-~03", INT64_MIN, ""}, {"12", INT64_MAX, "[12]"}}, {{"~-~03", INT64_MAX, ""}, {"12", INT64_MIN, "[~-~0312]"}},
    };
    for (const auto& script : scripts) {
        Splitter splitter;
        std::string trace;
        for (const Read& read : script) {
            trace += "|" + read.bytes;
            EXPECT_EQ(cut(splitter, read.bytes, read.at), read.out) << trace;
        }
        EXPECT_EQ(splitter.waiting(), 0u) << trace;
    }
}

TEST(Protocol, ParseHostAddressSplitsHostAndPortOrRefuses)
{
    const Case cases[] = {
        {"example.org", "example.org 4000"}, {"  10.0.0.5:2000 ", "10.0.0.5 2000"}, {"host:1", "host 1"},
        {"host:65535", "host 65535"}, {"[::1]:1500", "::1 1500"}, {"[fe80::1]", "fe80::1 4000"}, {"::1", "::1 4000"},
        {"host:", "-"}, {"host:0", "-"}, {"host:65536", "-"}, {"host:99999999999999999999", "-"}, {"host:12a", "-"},
        {":5", "-"}, {"[::1", "-"}, {"[]:5", "-"}, {"[::1]:", "-"}, {"[::1]80", "-"},
    };
    for (const auto& c : cases) {
        const auto address = parseHostAddress(c.in, 4000);
        EXPECT_EQ(address ? address->host + " " + std::to_string(address->port) : "-", c.out) << c.in;
    }
}

} // namespace
} // namespace brindle::protocol
