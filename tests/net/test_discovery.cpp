// Games on the local network: what a host announces, what of an announcement
// heard from the network is shown, and when the session announces and
// withdraws its game.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/discovery.h"
#include "support/network_pair.h"

namespace brindle::discovery {
namespace {

using ::testing::ElementsAre;
using Txt = std::vector<std::string>;

TEST(DiscoveryText, WhatComesFromTheNetworkIsShownAsLatin1WithoutControlsAndAtMostFortyCharacters)
{
    const struct {
        std::string raw;
        std::string shown;
    } cases[] = {
        {"Zoë Øre", "Zoë Øre"},
        {"bell\a tab\t esc\x1b[2J del\x7f C1 \xc2\x85 \xc2\x9f end", "bell tab esc[2J del C1   end"},
        {"snow \xe2\x98\x83 man \xff\xfe", "snow ? man ??"}, // past Latin-1, or not UTF-8 at all
        {std::string("nul\0inside", 10), "nulinside"},
        {std::string(39, 'x') + "éé", std::string(39, 'x') + "é"}, // characters, not bytes
        {std::string(50, '\n') + "ok", "ok"},               // removed characters do not count
    };
    for (const auto& c : cases)
        EXPECT_EQ(shownText(c.raw), c.shown) << c.raw;
}

TEST(FoundGame, IsListedOnlyWithAnAddressAndPortThatMakeSense)
{
    const Txt txt = {"name=Ann", "time=60", "state=waiting"};
    const struct {
        const char* address;
        int64_t port;
        bool listed;
    } cases[] = {
        {"10.0.0.1", 1, true},       {"223.255.255.255", 65535, true}, {"192.168.1.20", 0, false},
        {"192.168.1.20", 65536, false}, {"0.1.2.3", 1002, false},     {"127.0.0.1", 1002, false},
        {"224.0.0.251", 1002, false}, {"256.1.1.1", 1002, false},     {"1.2.3", 1002, false},
        {"1.2.3.4.5", 1002, false},   {"01.2.3.4", 1002, false},      {"1..3.4", 1002, false},
        {"1.2.3.4x", 1002, false},    {"fe80::1", 1002, false},
    };
    for (const auto& c : cases) {
        const auto g = foundGame("Ann", c.address, c.port, txt);
        EXPECT_EQ(g.has_value(), c.listed) << c.address << " port " << c.port;
        if (g) {
            EXPECT_EQ(hostField(*g), std::string(c.address) + ":" + std::to_string(c.port));
        }
    }
}

TEST(FoundGame, TxtKeysAreCaselessOnlyTheFirstCountsAndOddValuesAreShownSafely)
{
    const struct {
        const char* instance;
        Txt txt;
        FoundGame game;
    } cases[] = {
        {"Ann", {"name=Ann", "time=60", "version=1.4.0", "state=waiting"}, {"Ann", 60, "10.0.0.5", 1002, true}},
        {"Ann #2", {"NAME=Ann", "Time=0", "STATE=waiting"}, {"Ann", 0, "10.0.0.5", 1002, true}},
        {"Ann", {"state=playing", "state=waiting", "time=300", "time=30"}, {"Ann", 300, "10.0.0.5", 1002, false}},
        {"Ann", {"state=WAITING", "time=-5"}, {"Ann", -1, "10.0.0.5", 1002, false}}, // unknown states are not joined
        {"Inst", {"name=\n\r\t", "time=86401"}, {"Inst", -1, "10.0.0.5", 1002, false}}, // no name: the instance's
        {"\x1b", {"name=\x07", "time=86400"}, {"(no name)", 86400, "10.0.0.5", 1002, false}},
        {"Ann", {"time=99999999999999999999"}, {"Ann", -1, "10.0.0.5", 1002, false}},
        {"Ann", {"name=a=b", "time= 60"}, {"a=b", -1, "10.0.0.5", 1002, false}},
    };
    for (const auto& c : cases) {
        const auto g = foundGame(c.instance, "10.0.0.5", 1002, c.txt);
        ASSERT_TRUE(g.has_value()) << c.instance;
        EXPECT_EQ(*g, c.game) << c.instance << " " << ::testing::PrintToString(c.txt);
    }
}

TEST(FoundGame, TheListLineSaysWhoTheTimeLimitWhereAndWhetherItWaits)
{
    const struct {
        FoundGame game;
        const char* line;
    } cases[] = {
        {{"Ann", 60, "10.0.0.5", 1002, true}, "Ann, 1 min., 10.0.0.5:1002, waiting"},
        {{"Bob", 30, "10.0.0.6", 4000, false}, "Bob, 30 sec., 10.0.0.6:4000, playing"},
        {{"Di", 0, "10.0.0.8", 1002, true}, "Di, no time limit, 10.0.0.8:1002, waiting"},
        {{"Ed", 90, "10.0.0.9", 1002, true}, "Ed, 90 sec., 10.0.0.9:1002, waiting"},
        {{"Fa", -1, "10.0.0.10", 1002, true}, "Fa, time limit unknown, 10.0.0.10:1002, waiting"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listLine(c.game), c.line);
}

TEST(Announcement, NamesTheGameAsTheWireCanAndCarriesNameTimeVersionAndState)
{
    const Announcement waiting{"Zoë \xe2\x98\x83\n", 120, false, 1002};
    EXPECT_EQ(instanceName(waiting), "Zoë ?");
    EXPECT_THAT(txtRecord(waiting, "1.4.0"), ElementsAre("name=Zoë ?", "time=120", "version=1.4.0", "state=waiting"));
    const Announcement playing{"Ann", -3, true, 1002};
    EXPECT_THAT(txtRecord(playing, "2.0"), ElementsAre("name=Ann", "time=0", "version=2.0", "state=playing"));
    // What one copy announces, another lists as it was meant.
    const auto heard = foundGame(instanceName(waiting), "10.0.0.5", waiting.port, txtRecord(waiting, "1.4.0"));
    ASSERT_TRUE(heard.has_value());
    EXPECT_EQ(*heard, (FoundGame{"Zoë ?", 120, "10.0.0.5", 1002, true}));
}

TEST(FoundGames, KeepOneEntryAServiceInNameOrderAndSayWhetherAnythingChanged)
{
    FoundGames games;
    auto names = [&] {
        std::vector<std::string> out;
        for (const auto& e : games.entries())
            out.push_back(e.key + ":" + e.game.name + (e.game.waiting ? "" : "*"));
        return out;
    };
    const FoundGame bob{"Bob", 60, "10.0.0.2", 1002, true};
    const FoundGame ann{"Ann", 60, "10.0.0.9", 1002, true};
    const FoundGame ann2{"Ann", 60, "10.0.0.3", 1002, true};
    EXPECT_TRUE(games.put("k1", bob));
    EXPECT_TRUE(games.put("k2", ann));
    EXPECT_TRUE(games.put("k3", ann2));
    EXPECT_THAT(names(), ElementsAre("k3:Ann", "k2:Ann", "k1:Bob")) << "by name, then by address";
    EXPECT_FALSE(games.put("k1", bob)) << "the same again changes nothing";
    FoundGame bobPlays = bob;
    bobPlays.waiting = false;
    EXPECT_TRUE(games.put("k1", bobPlays));
    FoundGame renamed = ann;
    renamed.name = "Zed";
    EXPECT_TRUE(games.put("k2", renamed));
    EXPECT_THAT(names(), ElementsAre("k3:Ann", "k1:Bob*", "k2:Zed"));
    EXPECT_TRUE(games.drop("k1"));
    EXPECT_FALSE(games.drop("k1"));
    EXPECT_THAT(names(), ElementsAre("k3:Ann", "k2:Zed"));
}

// ---- The session's announcements

class RecordingAnnouncer final : public Announcer {
public:
    void announce(const Announcement& a) override
    {
        said.push_back(a.name + " " + std::to_string(a.timeLimitSec) + (a.playing ? " playing " : " waiting ") +
                       std::to_string(a.port));
    }
    void withdraw() override { said.push_back("withdraw"); }
    std::vector<std::string> said;
};

class Announcing : public ::testing::Test, protected testing::NetworkPair {
protected:
    void SetUp() override
    {
        host.session.announcer = &hostSays;
        joiner.session.announcer = &joinerSays;
    }
    RecordingAnnouncer hostSays, joinerSays;
};

TEST_F(Announcing, AHostedGameIsAnnouncedWhileItWaitsAndPlaysAndWithdrawnWhenNobodyCanJoin)
{
    ASSERT_EQ(startHosting(60), Transport::ListenError::None);
    EXPECT_THAT(hostSays.said, ElementsAre("Ann 60 waiting 1002"));
    hostSays.said.clear();
    ASSERT_EQ(join(), NetSession::JoinResult::Connected);
    EXPECT_THAT(hostSays.said, ElementsAre("Ann 60 playing 1002"));
    EXPECT_TRUE(std::none_of(joinerSays.said.begin(), joinerSays.said.end(),
                             [](const std::string& s) { return s != "withdraw"; }))
        << "a joiner announces nothing";
    hostSays.said.clear();
    receive(host, protocol::leaveMessage());
    EXPECT_THAT(hostSays.said, ElementsAre("withdraw")) << "the opponent left: nobody can join the game that is left";
}

TEST_F(Announcing, StopOrAFailedListenAnnouncesNothingMore)
{
    ASSERT_EQ(startHosting(), Transport::ListenError::None);
    EXPECT_EQ(hostSays.said.back(), "Ann 0 waiting 1002");
    host.random.push({0.25f});
    host.game.command(Menu_Stop);
    EXPECT_EQ(hostSays.said.back(), "withdraw");
    hostSays.said.clear();
    host.transport.listenResult = Transport::ListenError::InUse;
    EXPECT_EQ(startHosting(), Transport::ListenError::InUse);
    EXPECT_THAT(hostSays.said, ::testing::Not(::testing::Contains(::testing::HasSubstr("waiting"))));
}

} // namespace
} // namespace brindle::discovery
