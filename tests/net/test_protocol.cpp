// The bytes of the messages the game sends: exactly as the other copy reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "net/protocol.h"

namespace brindle::protocol {
namespace {

using Pieces = std::vector<std::string>;
struct Case {
    std::string in, out;
};

TEST(Protocol, ToWireKeepsLatin1AndGivesOneQuestionMarkPerBrokenPiece)
{
    const Case cases[] = {
        {"Ann 42", "Ann 42"}, {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\xC2\x80", "\x80"}, {"\xC3\xA9", "\xE9"}, {"\xC3\xBF", "\xFF"}, {"\xC4\x80", "?"},
        {"a\xE4\xB8\xAD" "b", "a?b"}, {"\xE0\xA0\x80", "?"}, {"\xE2\x82\xAC", "?"}, {"x\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "x??"},
        // Cut off, then the next character survives.
        {"a\xC3", "a?"}, {"\xF0\x9F\x98", "?"}, {"\xC3" "A", "?A"}, {"\xE4\xB8" "A", "?A"}, {"\xC3\xA9\x80", "\xE9?"},
        // Stray continuations, overlong forms, surrogates, past U+10FFFF, bytes never used.
        {"\xBF\xBF", "??"}, {"\xC0\xAF", "??"}, {"\xC1\xBF", "??"}, {"\xE0\x80\xAF", "???"},
        {"\xF0\x80\x80\xAF", "????"}, {"\xED\xA0\x80", "???"}, {"\xF4\x90\x80\x80", "????"},
        {"\xF5\x80", "??"}, {"\xFF\xFE", "??"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toWire(c.in), c.out) << testing::PrintToString(c.in);
}

TEST(Protocol, FromWireGivesEachByteItsUtf8FormAndToWireTakesItBack)
{
    EXPECT_EQ(fromWire("\xE9t\x7F"), "\xC3\xA9t\x7F");
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    const std::string utf8 = fromWire(every);
    EXPECT_EQ(utf8.size(), 128u + 2u * 128u);
    EXPECT_EQ(toWire(utf8), every);
}

// Every field that is set, so a stray value in any of them shows.
std::string describe(const Message& m)
{
    static const char* const kinds[] = {"Chat", "NewGame", "Probe", "Leave", "TimeWinner", "Move", "Malformed"};
    std::string s = kinds[static_cast<int>(m.kind)];
    if (!m.text.empty())
        s += " '" + m.text + "'";
    if (m.timeLimitSec != 0)
        s += " " + std::to_string(m.timeLimitSec);
    for (const char c : {m.firstMark, m.winner})
        if (c != 0)
            s += std::string(" ") + c;
    if (m.row != 0 || m.col != 0)
        s += " " + std::to_string(m.row) + "," + std::to_string(m.col);
    return s;
}

TEST(Protocol, ParseReadsTheFieldsOrCallsItMalformed)
{
    const Case cases[] = {
        {"~-~0312", "Move 3,12"}, {"~-~0000", "Move"}, {"~-~1919", "Move 19,19"},
        {"~-~2000", "Malformed"}, {"~-~0320", "Malformed"}, {"~-~03-1", "Malformed"},
        {"~-~a312", "Malformed"}, {"~-~+312", "Malformed"}, {"~-~031", "Malformed"}, {"~-~", "Malformed"},
        {"~-~0060NEWGAMEXAnn", "NewGame 'Ann' 60 X"}, {"~-~0000NEWGAMEO", "NewGame O"},
        {"~-~9999NEWGAMEO  Bo b  ", "NewGame 'Bo b' 9999 O"},
        {"~-~0060NEWGAMEZAnn", "Malformed"}, {"~-~0060NEWGAMExAnn", "Malformed"},
        {"~-~0060NEWGAME", "Malformed"}, {"~-~00a0NEWGAMEXAnn", "Malformed"}, {"~-~-060NEWGAMEXAnn", "Malformed"},
        // "NEWGAME" is looked for first.
        {"~-~TimeNEWGAMEX", "Malformed"},
        {"~-~Check if connected  Bea Lee ", "Probe 'Bea Lee'"}, {"~-~Check if connected", "Probe"},
        {"~-~Check if connecte", "Malformed"},
        {"~-~Your opponent has left the board.", "Leave"}, {"~-~Your opponent has left the board", "Malformed"},
        {"~-~TimeWinnerR", "TimeWinner R"}, {"~-~TimeWinnerB", "TimeWinner B"},
        {"~-~TimeWinnerr", "Malformed"}, {"~-~TimeWinner", "Malformed"},
        {"  hi ~-~0312 ", "Chat '  hi ~-~0312 '"}, {"~-0312", "Chat '~-0312'"}, {"", "Chat"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(parse(c.in)), c.out) << c.in;
}

TEST(Protocol, ChatTextDropsControlsTrimsAndKeepsAtMost500Characters)
{
    const Case cases[] = {
        {"     ", ""},
        {"  hi there  ", "hi there"},
        {"a\x01\x1F\x7F\x80\x9F~\xA0", "a~\xC2\xA0"}, // a no-break space is neither control nor trimmed
        {std::string("a\0b", 3), "ab"},
        {" \t\r\n hi \n", "hi"}, // controls go first, so the spaces then trim
        {std::string(600, '\xE9'), fromWire(std::string(500, '\xE9'))},
        {"   " + std::string(500, 'a') + "b", std::string(500, 'a')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chatText(c.in), c.out) << testing::PrintToString(c.in);

    std::string noisy;
    for (int i = 0; i < 500; ++i)
        noisy += "z\x07";
    EXPECT_EQ(chatText(noisy), std::string(500, 'z')) << "controls do not count towards the limit";
}

TEST(Splitter, CutsOneReadIntoItsMessages)
{
    const std::string leave = leaveMessage();
    const struct {
        std::string read;
        Pieces pieces;
    } cases[] = {
        {"~-~0060", {"~-~0060"}}, // four digits at the end are a move at once
        {"hello~-~0312", {"hello", "~-~0312"}},
        {"~-~0312 ~-~0405 ", {"~-~0312", " ", "~-~0405", " "}},
        {"~-~0060NEWGAMEXAnn Lee ~-~0312", {"~-~0060NEWGAMEXAnn Lee ", "~-~0312"}},
        {"~-~Check if connectedBea~-~0312", {"~-~Check if connectedBea", "~-~0312"}},
        {leave + "bye" + leave, {leave, "bye", leave}},
        {"~-~TimeWinnerRgg~-~TimeWinnerB", {"~-~TimeWinnerR", "gg", "~-~TimeWinnerB"}},
        {"a~b-~c~~-", {"a~b-~c~"}}, // "~-" at the end may be a marker cut in two
        {"abc~", {"abc"}},
        // A marker ends the message before it, however short; markers never overlap.
        {"~-~03~-~0405", {"~-~03", "~-~0405"}},
        {"~-~~-~0312", {"~-~", "~-~0312"}},
        {"~-~TimeWinner~-~0312", {"~-~Time", "Winner", "~-~0312"}},
        {"~-~Your opp~-~0312", {"~-~Your", " opp", "~-~0312"}},
        {"~-~-~0312", {"~-~-~03", "12"}},
        // Neither four digits followed by the start of "NEWGAME", nor longer than their kind.
        {"~-~0060NEX", {"~-~0060", "NEX"}},
        {"~-~00a0NEW", {"~-~00a0", "NEW"}},
        {"~-~TimeWinnerRR", {"~-~TimeWinnerR", "R"}},
    };
    for (const auto& c : cases) {
        Splitter splitter;
        EXPECT_EQ(splitter.feed(c.read, 0), c.pieces) << c.read;
        EXPECT_EQ(splitter.waiting(), c.read.ends_with("~-") ? 2u : c.read.ends_with("~") ? 1u : 0u) << c.read;
    }
}

TEST(Splitter, HoldsAnUnfinishedMessageForHalfASecondFromItsFirstByte)
{
    struct Read {
        std::string bytes;
        int64_t at;
        Pieces out;
    };
    const std::string leave = leaveMessage();
    const std::vector<Read> scripts[] = {
        {{"~", 0, {}}, {"-~0312", 1, {"~-~0312"}}},
        {{"hi~-", 0, {"hi"}}, {"~0312", 1, {"~-~0312"}}},
        {{"~-~031", 0, {}}, {"2", 1, {"~-~0312"}}},
        {{"~-~Check if connecte", 0, {}}, {"dBea", 1, {"~-~Check if connectedBea"}}},
        {{leave.substr(0, 35), 0, {}}, {".", 1, {leave}}},
        {{"~-~TimeWinner", 0, {}}, {"Bx", 1, {"~-~TimeWinnerB", "x"}}},
        {{"~-~0060N", 0, {}}, {"EWGAMEXAnn", 1, {"~-~0060NEWGAMEXAnn"}}},
        {{"~-~0060NEWGAM", 0, {}}, {"EO", 1, {"~-~0060NEWGAMEO"}}},
        // Held bytes that do not become a message go on as what they are.
        {{"hi~", 0, {"hi"}}, {"x", 1, {"~x"}}},
        {{"~-~03", 0, {}}, {"~-~0405", 1, {"~-~03", "~-~0405"}}},
        {{"~-~0060NEW", 0, {}}, {"S", 1, {"~-~0060", "NEWS"}}},
        // Past the wait the unfinished bytes are dropped, even by an empty read.
        {{"~-~03", 1000, {}}, {"12", 1500, {"~-~0312"}}},
        {{"~-~03", 1000, {}}, {"12", 1501, {"12"}}},
        {{"~-~Your", 0, {}}, {"", 501, {}}},
        {{"~-~0", 1000, {}}, {"3", 1400, {}}, {"12", 1501, {"12"}}},
        // Bytes held after a whole message get their own clock.
        {{"~-~03", 1000, {}}, {"12~-~04", 1400, {"~-~0312"}}, {"05", 1900, {"~-~0405"}}},
        // Clocks at the ends of the range; one going back does not drop.
        {{"~-~03", INT64_MIN, {}}, {"12", INT64_MAX, {"12"}}},
        {{"~-~03", INT64_MAX, {}}, {"12", INT64_MIN, {"~-~0312"}}},
        {{"~-~03", 1000, {}}, {"12", 400, {"~-~0312"}}},
    };
    for (const auto& script : scripts) {
        Splitter splitter;
        std::string trace;
        for (const Read& read : script) {
            trace += "|" + read.bytes;
            EXPECT_EQ(splitter.feed(read.bytes, read.at), read.out) << trace;
        }
        EXPECT_EQ(splitter.waiting(), 0u) << trace;
    }
}

TEST(Splitter, PlacesMessagesSplitAtAnyPointOnceAndWhole)
{
    const Pieces sent = {moveMessage(3, 12), leaveMessage(), timeWinnerMessage('B')};
    const std::string stream = "hi" + sent[0] + sent[1] + sent[2] + "yo";
    // Three reads, cut at every pair of points.
    for (size_t cut1 = 0; cut1 <= stream.size(); ++cut1) {
        for (size_t cut2 = cut1; cut2 <= stream.size(); ++cut2) {
            Splitter splitter;
            Pieces messages;
            std::string chat;
            const size_t cuts[] = {0, cut1, cut2, stream.size()};
            for (int i = 0; i < 3; ++i) {
                for (auto& piece : splitter.feed(stream.substr(cuts[i], cuts[i + 1] - cuts[i]), 0)) {
                    if (piece.starts_with(Marker))
                        messages.push_back(piece);
                    else
                        chat += piece;
                }
            }
            ASSERT_EQ(messages, sent) << cut1 << " " << cut2;
            ASSERT_EQ(chat, "hiyo") << cut1 << " " << cut2;
            ASSERT_EQ(splitter.waiting(), 0u);
        }
    }
    // A new game runs to the end of what has arrived, so only a cut inside
    // its word waits.
    const std::string newGame = newGameMessage(60, 'X', "Ann");
    for (size_t cut = 8; cut < 14; ++cut) {
        Splitter splitter;
        EXPECT_TRUE(splitter.feed(newGame.substr(0, cut), 0).empty()) << cut;
        EXPECT_EQ(splitter.feed(newGame.substr(cut), 10), Pieces{newGame}) << cut;
    }
}

TEST(Splitter, FloodsHoldNothingButALastMarker)
{
    std::string chat, flood;
    while (chat.size() < (1u << 20))
        chat += "ab~c-d~-e ";
    for (int i = 0; i < 100000; ++i)
        flood += Marker;
    Splitter splitter;
    const Pieces pieces = splitter.feed(chat + flood, 0);
    ASSERT_EQ(pieces.size(), 100000u);
    EXPECT_EQ(pieces[0], chat);
    EXPECT_TRUE(std::all_of(pieces.begin() + 1, pieces.end(), [](const auto& p) { return p == Marker; }));
    EXPECT_EQ(splitter.waiting(), 3u);
    EXPECT_EQ(splitter.feed("0312", 1), Pieces{"~-~0312"});
}

TEST(Protocol, ParseHostAddressSplitsHostAndPortOrRefuses)
{
    const Case cases[] = {
        {"example.org", "example.org 4000"}, {"  10.0.0.5:2000 ", "10.0.0.5 2000"}, {"host:1", "host 1"},
        {"host:65535", "host 65535"}, {"[::1]:1500", "::1 1500"}, {"[fe80::1]", "fe80::1 4000"},
        {"::1", "::1 4000"}, {"2001:db8::7", "2001:db8::7 4000"},
        {"host:", "-"}, {"host:0", "-"}, {"host:65536", "-"}, {"host:99999999999999999999", "-"},
        {"host:12a", "-"}, {"host:+80", "-"}, {"   ", "-"}, {":5", "-"},
        {"[::1", "-"}, {"[]:5", "-"}, {"[::1]:", "-"}, {"[::1]80", "-"},
    };
    for (const auto& c : cases) {
        const auto address = parseHostAddress(c.in, 4000);
        EXPECT_EQ(address ? address->host + " " + std::to_string(address->port) : "-", c.out) << c.in;
    }
}

} // namespace
} // namespace brindle::protocol
