// The bytes of the messages the game sends: exactly as the other copy reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/protocol.h"

namespace brindle::protocol {
namespace {

using Kind = Message::Kind;
using Pieces = std::vector<std::string>;

TEST(Protocol, BuildsEachMessageWithZeroPaddedFieldsAndTheNameAsStored)
{
    EXPECT_EQ(moveMessage(3, 15), "~-~0315");
    EXPECT_EQ(moveMessage(3, 5), "~-~0305");
    EXPECT_EQ(moveMessage(19, 0), "~-~1900");
    EXPECT_EQ(newGameMessage(60, 'X', "Ann"), "~-~0060NEWGAMEXAnn");
    EXPECT_EQ(newGameMessage(0, 'O', ""), "~-~0000NEWGAMEO");
    EXPECT_EQ(newGameMessage(300, 'O', " Bo b "), "~-~0300NEWGAMEO Bo b ");
    EXPECT_EQ(timeWinnerMessage('R'), "~-~TimeWinnerR");
    EXPECT_EQ(timeWinnerMessage('B'), "~-~TimeWinnerB");
}

TEST(Protocol, BuildsTheProbeWithTheNameAfterItAndTheLeaveMessageWhole)
{
    EXPECT_EQ(probeMessage("Bea"), "~-~Check if connectedBea");
    EXPECT_EQ(probeMessage(""), "~-~Check if connected");
    EXPECT_EQ(leaveMessage(), "~-~Your opponent has left the board.");
    EXPECT_EQ(leaveMessage().size(), 36u);
}

// ---- Characters

TEST(Protocol, ToWireKeepsLatin1AndMarksEverythingElseWithOneQuestionMarkEach)
{
    const struct {
        std::string utf8;
        std::string wire;
    } cases[] = {
        {"", ""},
        {"Ann 42", "Ann 42"},
        {"\xC3\xA9", "\xE9"},                  // é
        {"\xC3\xBF", "\xFF"},                  // ÿ, the last Latin-1 character
        {"\xC2\x80", "\x80"},                  // the first two-byte one
        {"\xC4\x80", "?"},                     // U+0100, just past Latin-1
        {"a\xE4\xB8\xAD" "b", "a?b"},          // a Chinese character
        {"\xE2\x82\xAC", "?"},                 // the euro sign
        {"\xF0\x9F\x98\x80", "?"},             // a four-byte emoji
        {"x\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "x??"},
        {"a\xC3", "a?"},                       // cut off at the end
        {"\xE4\xB8", "?"},
        {"\xF0\x9F\x98", "?"},
        {"\xC3" "A", "?A"},                    // the next character survives a broken one
        {"\xE4\xB8" "A", "?A"},
        {"\x80", "?"},                         // a stray continuation
        {"\xBF\xBF", "??"},
        {"\xC0\xAF", "??"},                    // overlong '/'
        {"\xC1\xBF", "??"},
        {"\xE0\x80\xAF", "???"},               // overlong three-byte form
        {"\xF0\x80\x80\xAF", "????"},          // overlong four-byte form
        {"\xED\xA0\x80", "???"},               // a surrogate
        {"\xF4\x90\x80\x80", "????"},          // past U+10FFFF
        {"\xF5\x80", "??"},
        {"\xFF\xFE", "??"},
        {"\xC3\xA9\xC3", "\xE9?"},
        {"\xC3\xA9\x80", "\xE9?"},               // a whole character, then a stray byte
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.utf8));
        EXPECT_EQ(toWire(c.utf8), c.wire);
    }
}

TEST(Protocol, FromWireGivesEachByteItsUtf8FormAndToWireTakesItBack)
{
    EXPECT_EQ(fromWire("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(fromWire("plain"), "plain");

    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    const std::string utf8 = fromWire(every);
    EXPECT_EQ(utf8.size(), 128u + 2u * 128u);
    EXPECT_EQ(toWire(utf8), every);
}

// ---- Reading one message

struct ParseCase {
    const char* label;
    std::string bytes;
    Kind kind;
    std::string text = {};
    int32_t timeLimitSec = 0;
    char firstMark = 0;
    char winner = 0;
    int32_t row = 0;
    int32_t col = 0;
};

class ParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, ReadsTheFieldsOrCallsItMalformed)
{
    const ParseCase& c = GetParam();
    const Message m = parse(c.bytes);
    EXPECT_EQ(m.kind, c.kind);
    EXPECT_EQ(m.text, c.text);
    EXPECT_EQ(m.timeLimitSec, c.timeLimitSec);
    EXPECT_EQ(m.firstMark, c.firstMark);
    EXPECT_EQ(m.winner, c.winner);
    EXPECT_EQ(m.row, c.row);
    EXPECT_EQ(m.col, c.col);
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, ParseTest,
    testing::Values(
        ParseCase{"Move", "~-~0312", Kind::Move, {}, 0, 0, 0, 3, 12},
        ParseCase{"MoveCorner", "~-~0000", Kind::Move},
        ParseCase{"MoveFarCorner", "~-~1919", Kind::Move, {}, 0, 0, 0, 19, 19},
        ParseCase{"MoveRowTooBig", "~-~2000", Kind::Malformed},
        ParseCase{"MoveColTooBig", "~-~0320", Kind::Malformed},
        ParseCase{"MoveNegativeCol", "~-~03-1", Kind::Malformed},
        ParseCase{"MoveLetter", "~-~a312", Kind::Malformed},
        ParseCase{"MoveSpace", "~-~ 312", Kind::Malformed},
        ParseCase{"MoveSign", "~-~+312", Kind::Malformed},
        ParseCase{"MarkerOnly", "~-~", Kind::Malformed},
        ParseCase{"OneDigit", "~-~1", Kind::Malformed},
        ParseCase{"ThreeDigits", "~-~031", Kind::Malformed},
        ParseCase{"MarkerThenWords", "~-~hello there", Kind::Malformed},
        ParseCase{"NewGame", "~-~0060NEWGAMEXAnn", Kind::NewGame, "Ann", 60, 'X'},
        ParseCase{"NewGameNoLimit", "~-~0000NEWGAMEO", Kind::NewGame, "", 0, 'O'},
        ParseCase{"NewGameLongLimit", "~-~9999NEWGAMEOx", Kind::NewGame, "x", 9999, 'O'},
        ParseCase{"NewGameTrimsName", "~-~0300NEWGAMEO  Bo b  ", Kind::NewGame, "Bo b", 300, 'O'},
        ParseCase{"NewGameNameOfSpaces", "~-~0300NEWGAMEX   ", Kind::NewGame, "", 300, 'X'},
        ParseCase{"NewGameLatin1Name", "~-~0030NEWGAMEXRen\xE9", Kind::NewGame, "Ren\xE9", 30, 'X'},
        ParseCase{"NewGameBadMark", "~-~0060NEWGAMEZAnn", Kind::Malformed},
        ParseCase{"NewGameLowerMark", "~-~0060NEWGAMExAnn", Kind::Malformed},
        ParseCase{"NewGameNoMark", "~-~0060NEWGAME", Kind::Malformed},
        ParseCase{"NewGameBadTime", "~-~00a0NEWGAMEXAnn", Kind::Malformed},
        ParseCase{"NewGameNegativeTime", "~-~-060NEWGAMEXAnn", Kind::Malformed},
        // "NEWGAME" is looked for first, so these are not read as a time
        // winner or a probe with odd names.
        ParseCase{"NewGameWordBeatsTimeWinner", "~-~TimeNEWGAMEX", Kind::Malformed},
        ParseCase{"Probe", "~-~Check if connectedBea", Kind::Probe, "Bea"},
        ParseCase{"ProbeTrimsName", "~-~Check if connected  Bea Lee ", Kind::Probe, "Bea Lee"},
        ParseCase{"ProbeWithoutName", "~-~Check if connected", Kind::Probe},
        ParseCase{"ProbeCutShort", "~-~Check if connecte", Kind::Malformed},
        ParseCase{"Leave", "~-~Your opponent has left the board.", Kind::Leave},
        ParseCase{"LeaveWithoutStop", "~-~Your opponent has left the board", Kind::Malformed},
        ParseCase{"TimeWinnerRed", "~-~TimeWinnerR", Kind::TimeWinner, {}, 0, 0, 'R'},
        ParseCase{"TimeWinnerBlue", "~-~TimeWinnerB", Kind::TimeWinner, {}, 0, 0, 'B'},
        ParseCase{"TimeWinnerOther", "~-~TimeWinnerX", Kind::Malformed},
        ParseCase{"TimeWinnerLower", "~-~TimeWinnerr", Kind::Malformed},
        ParseCase{"TimeWinnerNobody", "~-~TimeWinner", Kind::Malformed},
        ParseCase{"Chat", "hello ~-~0312", Kind::Chat, "hello ~-~0312"},
        ParseCase{"ChatKeepsSpaces", "  hi  ", Kind::Chat, "  hi  "},
        ParseCase{"ChatEmpty", "", Kind::Chat},
        ParseCase{"ChatNearlyMarker", "~-0312", Kind::Chat, "~-0312"}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.label); });

// ---- Chat as shown

TEST(Protocol, ChatTextDropsControlsTrimsAndKeepsAtMost500Characters)
{
    const struct {
        std::string wire;
        std::string shown;
    } cases[] = {
        {"", ""},
        {"     ", ""},
        {"  hi there  ", "hi there"},
        {"a\x01\x1F\x7F\x80\x9F" "b", "ab"},
        {std::string("a\0b", 3), "ab"},
        {" \t\r\n hi \n", "hi"},        // controls go first, so the spaces then trim
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
        {"\xA0x\xA0", "\xC2\xA0x\xC2\xA0"}, // a no-break space is neither control nor trimmed
        {std::string(600, 'a'), std::string(500, 'a')},
        {std::string(600, '\xE9'), fromWire(std::string(500, '\xE9'))},
        {"   " + std::string(500, 'a') + "b", std::string(500, 'a')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.wire));
        EXPECT_EQ(chatText(c.wire), c.shown);
    }

    std::string noisy;
    for (int i = 0; i < 500; ++i)
        noisy += "z\x07";
    EXPECT_EQ(chatText(noisy), std::string(500, 'z')) << "controls do not count towards the limit";
}

// ---- Cutting the stream

// Feeds the reads one after another at the given times; returns all pieces.
Pieces feedAll(Splitter& splitter, const std::vector<std::string>& reads, int64_t start = 1000, int64_t step = 0)
{
    Pieces all;
    int64_t now = start;
    for (const auto& read : reads) {
        for (auto& piece : splitter.feed(read, now))
            all.push_back(std::move(piece));
        now += step;
    }
    return all;
}

TEST(Splitter, CutsOneReadIntoItsMessages)
{
    const std::string leave = leaveMessage();
    const struct {
        std::string read;
        Pieces pieces;
    } cases[] = {
        {"", {}},
        {"~-~0312", {"~-~0312"}},
        {"~-~0060", {"~-~0060"}}, // four digits at the end are a move at once
        {"~-~0312hello", {"~-~0312", "hello"}},
        {"hello~-~0312", {"hello", "~-~0312"}},
        {"~-~0312~-~0405", {"~-~0312", "~-~0405"}},
        {"~-~0312 ~-~0405 ", {"~-~0312", " ", "~-~0405", " "}},
        {"~-~0060NEWGAMEXAnn~-~0312", {"~-~0060NEWGAMEXAnn", "~-~0312"}},
        {"~-~0060NEWGAMEX", {"~-~0060NEWGAMEX"}},
        {"~-~0060NEWGAMEXAnn Lee ", {"~-~0060NEWGAMEXAnn Lee "}},
        {"~-~Check if connectedBea~-~0312", {"~-~Check if connectedBea", "~-~0312"}},
        {leave + "bye" + leave, {leave, "bye", leave}},
        {"~-~TimeWinnerRgg~-~TimeWinnerB", {"~-~TimeWinnerR", "gg", "~-~TimeWinnerB"}},
        {"a~b-~c~~-", {"a~b-~c~"}}, // "~-" at the end may be a marker cut in two
        {"abc~", {"abc"}},
        // A marker ends the message before it, however short.
        {"~-~03~-~0405", {"~-~03", "~-~0405"}},
        {"~-~~-~0312", {"~-~", "~-~0312"}},
        {"~-~TimeWinner~-~0312", {"~-~Time", "Winner", "~-~0312"}},
        {"~-~Your opp~-~0312", {"~-~Your", " opp", "~-~0312"}},
        // Markers never overlap.
        {"~-~-~0312", {"~-~-~03", "12"}},
        // Neither four digits nor a move plus "NEWGAME" in part.
        {"~-~0060NEX", {"~-~0060", "NEX"}},
        {"~-~00a0NEW", {"~-~00a0", "NEW"}},
        {"~-~TimeWinnerRR", {"~-~TimeWinnerR", "R"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.read));
        Splitter splitter;
        EXPECT_EQ(splitter.feed(c.read, 0), c.pieces);
        const size_t held = c.read.ends_with("~-") ? 2 : c.read.ends_with("~") ? 1 : 0;
        EXPECT_EQ(splitter.waiting(), held);
    }
}

TEST(Splitter, HoldsAMessageCutShortUntilTheRestArrives)
{
    const std::string leave = leaveMessage();
    const struct {
        std::string first;  // ends in a part message
        Pieces before;      // what the first read gives at once
        std::string second;
        Pieces after;
    } cases[] = {
        {"~", {}, "-~0312", {"~-~0312"}},
        {"hi~-", {"hi"}, "~0312", {"~-~0312"}},
        {"~-~", {}, "0312", {"~-~0312"}},
        {"~-~031", {}, "2", {"~-~0312"}},
        {"~-~Check if connecte", {}, "dBea", {"~-~Check if connectedBea"}},
        {leave.substr(0, 35), {}, ".", {leave}},
        {"~-~TimeWinner", {}, "Bx", {"~-~TimeWinnerB", "x"}},
        {"~-~0060N", {}, "EWGAMEXAnn", {"~-~0060NEWGAMEXAnn"}},
        {"~-~0060NEWGAM", {}, "EO", {"~-~0060NEWGAMEO"}},
        // Held bytes that do not become a message go on as what they are.
        {"hi~", {"hi"}, "x", {"~x"}},
        {"~-~03", {}, "~-~0405", {"~-~03", "~-~0405"}},
        {"~-~0060NEW", {}, "S", {"~-~0060", "NEWS"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.first) + " then " + testing::PrintToString(c.second));
        Splitter splitter;
        EXPECT_EQ(splitter.feed(c.first, 1000), c.before);
        size_t chat = 0;
        for (const auto& piece : c.before)
            chat += piece.size();
        EXPECT_EQ(splitter.waiting(), c.first.size() - chat);
        EXPECT_EQ(splitter.feed(c.second, 1100), c.after);
        EXPECT_EQ(splitter.waiting(), 0u);
    }
}

TEST(Splitter, PlacesAMessageSplitAtAnyPointOnceAndWhole)
{
    for (const std::string& message : {moveMessage(3, 12), leaveMessage(), timeWinnerMessage('B')}) {
        const std::string stream = "hi" + message + "yo";
        for (size_t cut = 0; cut <= stream.size(); ++cut) {
            SCOPED_TRACE(stream.substr(0, cut) + " | " + stream.substr(cut));
            Splitter splitter;
            const Pieces pieces = feedAll(splitter, {stream.substr(0, cut), stream.substr(cut)}, 1000, 10);
            std::string chat;
            int whole = 0;
            for (const auto& piece : pieces) {
                if (piece == message)
                    ++whole;
                else
                    chat += piece;
            }
            EXPECT_EQ(whole, 1);
            EXPECT_EQ(chat, "hiyo");
            EXPECT_EQ(splitter.waiting(), 0u);
        }
    }
}

TEST(Splitter, ANewGameSplitInsideItsWordStillArrivesAsOne)
{
    const std::string message = newGameMessage(60, 'X', "Ann");
    for (size_t cut = 8; cut < 14; ++cut) {
        SCOPED_TRACE(cut);
        Splitter splitter;
        EXPECT_EQ(feedAll(splitter, {message.substr(0, cut), message.substr(cut)}), Pieces{message});
    }
    Splitter splitter;
    EXPECT_EQ(feedAll(splitter, {"~-~0060NEW", "GAMEXAnn"}), Pieces{"~-~0060NEWGAMEXAnn"});
}

TEST(Splitter, DropsAPartMessageThatWaitedLongerThanHalfASecond)
{
    {
        Splitter splitter;
        EXPECT_TRUE(splitter.feed("~-~03", 1000).empty());
        EXPECT_EQ(splitter.feed("12", 1500), Pieces{"~-~0312"});
    }
    {
        Splitter splitter;
        EXPECT_TRUE(splitter.feed("~-~03", 1000).empty());
        EXPECT_EQ(splitter.feed("12", 1501), Pieces{"12"});
        EXPECT_EQ(splitter.waiting(), 0u);
    }
    {
        // The wait counts from the first part, not the latest.
        Splitter splitter;
        EXPECT_TRUE(splitter.feed("~-~0", 1000).empty());
        EXPECT_TRUE(splitter.feed("3", 1400).empty());
        EXPECT_EQ(splitter.feed("12", 1501), Pieces{"12"});
    }
    {
        // A part that starts after a whole message gets its own clock.
        Splitter splitter;
        EXPECT_TRUE(splitter.feed("~-~03", 1000).empty());
        EXPECT_EQ(splitter.feed("12~-~04", 1400), Pieces{"~-~0312"});
        EXPECT_EQ(splitter.feed("05", 1900), Pieces{"~-~0405"});
    }
    {
        // A drop happens even when the new read is empty.
        Splitter splitter;
        EXPECT_TRUE(splitter.feed("~-~Your", 0).empty());
        EXPECT_TRUE(splitter.feed("", 501).empty());
        EXPECT_EQ(splitter.waiting(), 0u);
    }
}

TEST(Splitter, SurvivesClockValuesAtTheEndsOfTheRange)
{
    Splitter splitter;
    EXPECT_TRUE(splitter.feed("~-~03", INT64_MIN).empty());
    EXPECT_EQ(splitter.feed("12", INT64_MAX), Pieces{"12"});
    EXPECT_TRUE(splitter.feed("~-~03", INT64_MAX).empty());
    EXPECT_EQ(splitter.feed("12", INT64_MIN), Pieces{"~-~0312"}) << "a clock going back does not drop";
}

TEST(Splitter, AFloodWithoutAMarkerComesOutAsChatAndHoldsNothing)
{
    std::string flood;
    while (flood.size() < (1u << 20))
        flood += "ab~c-d~-e ";
    Splitter splitter;
    EXPECT_EQ(splitter.feed(flood, 0), Pieces{flood});
    EXPECT_EQ(splitter.waiting(), 0u);
}

TEST(Splitter, AFloodOfMarkersGivesOneShortMessageEachAndHoldsOnlyTheLast)
{
    constexpr size_t count = 100000;
    std::string flood;
    for (size_t i = 0; i < count; ++i)
        flood += Marker;
    Splitter splitter;
    const Pieces pieces = splitter.feed(flood, 0);
    ASSERT_EQ(pieces.size(), count - 1);
    for (const auto& piece : pieces)
        ASSERT_EQ(piece, Marker);
    EXPECT_EQ(parse(pieces.front()).kind, Kind::Malformed);
    EXPECT_EQ(splitter.waiting(), 3u);
    EXPECT_EQ(splitter.feed("0312", 1), Pieces{"~-~0312"});
}

// A small deterministic generator, the same on every platform.
struct Random {
    uint64_t state;
    uint64_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    size_t below(size_t n) { return static_cast<size_t>(next() % n); }
};

TEST(Splitter, NeitherLosesNorInventsBytesAndHoldsAtMost36)
{
    const std::string alphabet = "~-0123456789NEWGAMEXOTiW abc";
    const std::string tokens[] = {moveMessage(3, 12), leaveMessage(), timeWinnerMessage('R'),
                                  newGameMessage(60, 'O', "Ann"), probeMessage("Bea"), "~-~", "~-", "~"};
    size_t drops = 0, mostHeld = 0;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        Random random{seed * 0x9E3779B97F4A7C15ull};
        std::string input;
        while (input.size() < 2000) {
            if (random.below(3) == 0)
                input += tokens[random.below(std::size(tokens))];
            else
                input += alphabet[random.below(alphabet.size())];
        }

        Splitter splitter;
        std::string delivered; // everything given back or dropped, in order
        int64_t now = 0;
        int64_t heldSince = 0;
        size_t fed = 0;
        while (fed < input.size()) {
            const size_t length = std::min(input.size() - fed, random.below(40));
            now += random.below(8) == 0 ? 400 : static_cast<int64_t>(random.below(120));
            // The held bytes are always the last ones fed; past the wait
            // they must go, whole, before the new read is looked at.
            const size_t heldBefore = splitter.waiting();
            const size_t heldStart = fed - heldBefore;
            if (heldBefore > 0 && now - heldSince > Splitter::WaitMilliseconds) {
                delivered += input.substr(heldStart, heldBefore);
                ++drops;
            }

            fed += length;
            for (const auto& piece : splitter.feed(std::string_view(input).substr(fed - length, length), now)) {
                ASSERT_FALSE(piece.empty());
                // A piece holds at most one marker, at its start.
                ASSERT_EQ(piece.find(Marker, piece.starts_with(Marker) ? Marker.size() : 0), std::string::npos)
                    << piece;
                delivered += piece;
            }
            ASSERT_LE(splitter.waiting(), 36u);
            mostHeld = std::max(mostHeld, splitter.waiting());
            ASSERT_EQ(delivered.size() + splitter.waiting(), fed) << "seed " << seed;
            ASSERT_EQ(delivered, input.substr(0, delivered.size())) << "seed " << seed;
            if (splitter.waiting() > 0 && (heldBefore == 0 || fed - splitter.waiting() != heldStart))
                heldSince = now; // a new part started waiting
        }
    }
    // The inputs are meant to reach the long holds and the drops.
    EXPECT_GT(drops, 100u);
    EXPECT_GT(mostHeld, 20u);
}

TEST(Splitter, ReadsFixedLengthMessagesTheSameHoweverTheyAreCut)
{
    const std::string kinds[] = {moveMessage(0, 0), moveMessage(19, 19), moveMessage(3, 12),
                                 timeWinnerMessage('R'), timeWinnerMessage('B'), leaveMessage()};
    for (uint64_t seed = 1; seed <= 100; ++seed) {
        Random random{seed * 0xD1B54A32D192ED03ull};
        Pieces sent;
        std::string stream;
        for (int i = 0; i < 50; ++i) {
            sent.push_back(kinds[random.below(std::size(kinds))]);
            stream += sent.back();
        }
        Splitter splitter;
        Pieces received;
        for (size_t fed = 0; fed < stream.size();) {
            const size_t length = std::min(stream.size() - fed, 1 + random.below(20));
            for (auto& piece : splitter.feed(std::string_view(stream).substr(fed, length), 0))
                received.push_back(std::move(piece));
            fed += length;
        }
        EXPECT_EQ(received, sent) << "seed " << seed;
        EXPECT_EQ(splitter.waiting(), 0u);
    }
}

// ---- Addresses

struct AddressCase {
    const char* label;
    std::string text;
    std::optional<std::string> host;
    uint16_t port = DefaultPort;
};

class AddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(AddressTest, SplitsHostAndPortOrRefuses)
{
    const AddressCase& c = GetParam();
    const auto address = parseHostAddress(c.text);
    ASSERT_EQ(address.has_value(), c.host.has_value());
    if (address) {
        EXPECT_EQ(address->host, *c.host);
        EXPECT_EQ(address->port, c.port);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, AddressTest,
    testing::Values(AddressCase{"Name", "example.org", "example.org"},
                    AddressCase{"V4WithPortAndSpaces", "  10.0.0.5:2000 ", "10.0.0.5", 2000},
                    AddressCase{"NameWithPort", "host:1", "host", 1},
                    AddressCase{"HighestPort", "host:65535", "host", 65535},
                    AddressCase{"BracketedV6WithPort", "[::1]:1500", "::1", 1500},
                    AddressCase{"BracketedV6", "[fe80::1]", "fe80::1"},
                    AddressCase{"BareV6Loopback", "::1", "::1"},
                    AddressCase{"BareV6", "2001:db8::7", "2001:db8::7"},
                    AddressCase{"EmptyPort", "host:", std::nullopt},
                    AddressCase{"PortZero", "host:0", std::nullopt},
                    AddressCase{"PortTooBig", "host:65536", std::nullopt},
                    AddressCase{"PortHuge", "host:99999999999999999999", std::nullopt},
                    AddressCase{"PortNotANumber", "host:12a", std::nullopt},
                    AddressCase{"PortSigned", "host:+80", std::nullopt},
                    AddressCase{"PortNegative", "host:-80", std::nullopt},
                    AddressCase{"Empty", "", std::nullopt},
                    AddressCase{"Spaces", "   ", std::nullopt},
                    AddressCase{"UnclosedBracket", "[::1", std::nullopt},
                    AddressCase{"EmptyBrackets", "[]:5", std::nullopt},
                    AddressCase{"BracketedEmptyPort", "[::1]:", std::nullopt},
                    AddressCase{"BracketThenJunk", "[::1]x", std::nullopt},
                    AddressCase{"EmptyHost", ":5", std::nullopt}),
    [](const testing::TestParamInfo<AddressCase>& info) { return std::string(info.param.label); });

TEST(Protocol, AnAddressWithoutAPortUsesTheDefaultGiven)
{
    EXPECT_EQ(parseHostAddress("example.org", 4000)->port, 4000);
    EXPECT_EQ(parseHostAddress("[::1]", 4000)->port, 4000);
    EXPECT_EQ(parseHostAddress("example.org:7", 4000)->port, 7);
}

} // namespace
} // namespace brindle::protocol
