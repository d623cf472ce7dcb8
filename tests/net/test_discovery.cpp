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
    const struct { std::string raw, shown; } cases[] = {
        {"Zoë Øre", "Zoë Øre"},
        {"bell\a tab\t esc\x1b[2J del\x7f C1 \xc2\x85 \xc2\x9f end", "bell tab esc[2J del C1   end"},
        {"snow \xe2\x98\x83 man \xff\xfe", "snow ? man ??"}, // past Latin-1, or not UTF-8 at all
        {std::string(39, 'x') + "éé", std::string(39, 'x') + "é"}, // characters, not bytes
        {std::string(50, '\n') + "ok", "ok"},                     // removed characters do not count
    };
    for (const auto& c : cases)
        EXPECT_EQ(shownText(c.raw), c.shown) << c.raw;
}

// An announcement is listed only with an address and port that make sense.
// TXT keys are caseless, only the first counts, and odd values are shown
// safely or not at all.
TEST(FoundGame, IsListedWithASensibleAddressAndSaysWhoTheTimeLimitWhereAndWhetherItWaits)
{
    for (const auto& [address, port] : {std::pair<const char*, int64_t>{"192.168.1.20", 0}, {"192.168.1.20", 65536},
                                        {"0.1.2.3", 1}, {"127.0.0.1", 1}, {"224.0.0.251", 1}, {"256.1.1.1", 1}, {"1.2.3", 1},
                                        {"1.2.3.4.5", 1}, {"01.2.3.4", 1}, {"1..3.4", 1}, {"1.2.3.4x", 1}})
        EXPECT_FALSE(foundGame("Ann", address, port, {})) << address << " port " << port;
    const struct { const char *instance, *address; int64_t port; Txt txt; const char* line; } cases[] = {
        {"Ann", "10.0.0.1", 1, {"name=Ann", "time=60", "version=1.4.0", "state=waiting"}, "Ann, 1 min., 10.0.0.1:1, waiting"},
        {"Ann #2", "223.255.255.255", 65535, {"NAME=Ann", "Time=0", "STATE=waiting"},
         "Ann, no time limit, 223.255.255.255:65535, waiting"},
        {"Ann", "10.0.0.5", 1002, {"state=playing", "state=waiting", "time=90", "time=60"}, "Ann, 90 sec., 10.0.0.5:1002, playing"},
        {"Ann", "10.0.0.5", 1002, {"state=WAITING", "time=-5"}, "Ann, time limit unknown, 10.0.0.5:1002, playing"},
        {"Inst", "10.0.0.5", 1002, {"name=\n\r\t", "time=86401"}, "Inst, time limit unknown, 10.0.0.5:1002, playing"},
        {"\x1b", "10.0.0.5", 1002, {"name=\x07", "time=86400"}, "(no name), 1440 min., 10.0.0.5:1002, playing"},
        {"Ann", "10.0.0.5", 1002, {"name", "name=Bob", "time=99999999999999999999"},
         "Ann, time limit unknown, 10.0.0.5:1002, playing"},
        {"Ann", "10.0.0.5", 1002, {"name=a=b", "time= 60"}, "a=b, time limit unknown, 10.0.0.5:1002, playing"},
    };
    for (const auto& c : cases) {
        const auto g = foundGame(c.instance, c.address, c.port, c.txt);
        EXPECT_EQ(g ? listLine(*g) : "-", c.line) << c.instance << " " << ::testing::PrintToString(c.txt);
    }
}

TEST(Announcement, NamesTheGameAsTheWireCanAndCarriesNameTimeVersionAndState)
{
    const Announcement waiting{"Zoë \xe2\x98\x83\n", 120, false, 1002};
    EXPECT_EQ(instanceName(waiting), "Zoë ?");
    EXPECT_THAT(txtRecord(waiting, "1.4.0"), ElementsAre("name=Zoë ?", "time=120", "version=1.4.0", "state=waiting"));
    EXPECT_THAT(txtRecord({"Ann", -3, true, 1002}, "2.0"), ElementsAre("name=Ann", "time=0", "version=2.0", "state=playing"));
    // What one copy announces, another lists as it was meant.
    const auto heard = foundGame(instanceName(waiting), "10.0.0.5", waiting.port, txtRecord(waiting, "1.4.0"));
    EXPECT_EQ(heard, (FoundGame{"Zoë ?", 120, "10.0.0.5", 1002, true}));
}

TEST(FoundGames, KeepOneEntryAServiceInNameOrderAndSayWhetherAnythingChanged)
{
    FoundGames games;
    auto names = [&] {
        std::string out;
        for (const auto& e : games.entries())
            out += " " + e.key + ":" + e.game.name + (e.game.waiting ? "" : "*");
        return out;
    };
    const FoundGame bob{"Bob", 60, "10.0.0.2", 1002, true}, ann{"Ann", 60, "10.0.0.9", 1002, true};
    EXPECT_TRUE(games.put("k1", bob) && games.put("k2", ann) && games.put("k3", {"Ann", 60, "10.0.0.3", 1002, true}));
    EXPECT_EQ(names(), " k3:Ann k2:Ann k1:Bob") << "by name, then by address";
    EXPECT_FALSE(games.put("k1", bob)) << "the same again changes nothing";
    EXPECT_TRUE(games.put("k1", {"Bob", 60, "10.0.0.2", 1002, false}) && games.put("k2", {"Zed", 60, "10.0.0.9", 1002, true}));
    EXPECT_EQ(names(), " k3:Ann k1:Bob* k2:Zed");
    EXPECT_TRUE(games.drop("k1") && !games.drop("k1"));
    EXPECT_EQ(names(), " k3:Ann k2:Zed");
}

// ---- The session's announcements

// A hosted game is announced while it waits, and withdrawn when nobody can
// join it: Stop, or a port that cannot be listened on. (Played and left, on a
// real network, in the window's discovery test.)
TEST(Announcing, FollowsTheHostedGameAndNothingElse)
{
    struct : Announcer {
        void announce(const Announcement& a) override
        {
            said += a.name + " " + std::to_string(a.timeLimitSec) + (a.playing ? " playing " : " waiting ") + std::to_string(a.port) + "; ";
        }
        void withdraw() override { said += "withdraw; "; }
        std::string said;
    } hostSays, joinerSays;
    testing::NetworkPair pair;
    pair.host.session.announcer = &hostSays;
    pair.joiner.session.announcer = &joinerSays;
    ASSERT_EQ(pair.startHosting(60), Transport::ListenError::None);
    pair.host.random.push({0.25f});
    EXPECT_TRUE(pair.host.game.command(Menu_Stop));
    pair.host.transport.joinerWaiting = true;
    pair.host.session.Winsock1_ConnectionRequest();
    EXPECT_THAT(pair.host.transport.calls, ElementsAre("listen 1002", "close")) << "nobody is let in";
    pair.host.transport.listenResult = Transport::ListenError::InUse;
    EXPECT_EQ(pair.startHosting(60), Transport::ListenError::InUse);
    EXPECT_EQ(hostSays.said, "Ann 60 waiting 1002; withdraw; ");
    pair.host.transport.listenResult = Transport::ListenError::None;
    ASSERT_EQ(pair.startHosting(60), Transport::ListenError::None);
    ASSERT_EQ(pair.join(), NetSession::JoinResult::Connected);
    EXPECT_EQ(joinerSays.said.find("Ann"), std::string::npos) << "a joiner announces nothing";
}

} // namespace
} // namespace brindle::discovery
