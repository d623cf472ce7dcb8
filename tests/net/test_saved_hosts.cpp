// The saved hosts over settings in memory: saving, deleting, and settings
// files edited by hand.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "net/saved_hosts.h"
#include "support/fake_transport.h"

namespace brindle {
namespace {

using Values = std::map<std::string, std::string>;
using Hosts = std::vector<SavedHost>;

TEST(SavedHosts, DeletingMovesTheLaterOnesDownInOrder)
{
    testing::MemorySettings settings;
    SavedHosts hosts(settings);
    EXPECT_EQ(hosts.entries(), Hosts{});
    EXPECT_EQ(settings.values, Values{}) << "reading an empty list writes nothing";

    hosts.add("10.0.0.1", "Ann");
    hosts.add("host.lan", "Bo");
    hosts.add("10.0.0.3", "Cy");
    EXPECT_EQ(settings.values, (Values{{"IPNumber", "3"}, {"IP1", "10.0.0.1"}, {"IPname1", "Ann"}, {"IP2", "host.lan"},
                                       {"IPname2", "Bo"}, {"IP3", "10.0.0.3"}, {"IPname3", "Cy"}}));

    const struct {
        size_t index;
        Values after;
    } steps[] = {
        {1, {{"IPNumber", "2"}, {"IP1", "10.0.0.1"}, {"IPname1", "Ann"}, {"IP2", "10.0.0.3"}, {"IPname2", "Cy"}}},
        {2, {{"IPNumber", "2"}, {"IP1", "10.0.0.1"}, {"IPname1", "Ann"}, {"IP2", "10.0.0.3"}, {"IPname2", "Cy"}}},
        {0, {{"IPNumber", "1"}, {"IP1", "10.0.0.3"}, {"IPname1", "Cy"}}},
    };
    for (const auto& step : steps) {
        hosts.remove(step.index);
        EXPECT_EQ(settings.values, step.after) << step.index;
    }
}

// Whatever the hand did to the file, every host with an address or a name
// stays, in its order, numbered 1..m; keys that only look alike are left be;
// a host saved next goes after them all.
TEST(SavedHosts, ADamagedNumberingIsRewrittenWithoutLosingAHost)
{
    const struct {
        const char* what;
        Values before;
        Hosts hosts;
        Values after;
    } cases[] = {
        {"count too large",
         {{"IPNumber", "5"}, {"IP1", "a"}, {"IPname1", "A"}, {"IP2", "b"}, {"IPname2", "B"}},
         {{"a", "A"}, {"b", "B"}},
         {{"IPNumber", "2"}, {"IP1", "a"}, {"IPname1", "A"}, {"IP2", "b"}, {"IPname2", "B"}}},
        {"gaps, half entries",
         {{"IPNumber", "3"}, {"IP1", "a"}, {"IP3", "c"}, {"IPname3", "C"}, {"IPname7", "G"}},
         {{"a", ""}, {"c", "C"}, {"", "G"}},
         {{"IPNumber", "3"}, {"IP1", "a"}, {"IP2", "c"}, {"IPname2", "C"}, {"IPname3", "G"}}},
        {"not a number", {{"IPNumber", "-1"}, {"IP1", "a"}}, {{"a", ""}}, {{"IPNumber", "1"}, {"IP1", "a"}}},
        {"beyond the count",
         {{"IPNumber", "1"}, {"IP1", "a"}, {"IP2", "b"}, {"IPname2", "B"}},
         {{"a", ""}, {"b", "B"}},
         {{"IPNumber", "2"}, {"IP1", "a"}, {"IP2", "b"}, {"IPname2", "B"}}},
        {"numeric order", {{"IP10", "j"}, {"IP9", "i"}, {"IP2", "b"}},
         {{"b", ""}, {"i", ""}, {"j", ""}},
         {{"IPNumber", "3"}, {"IP1", "b"}, {"IP2", "i"}, {"IP3", "j"}}},
        {"huge numbers", {{"IPNumber", "99999999999999999999"}, {"IPname99999999999999999999", "Z"}},
         {{"", "Z"}},
         {{"IPNumber", "1"}, {"IPname1", "Z"}}},
        {"look-alikes",
         {{"IPNumber", " 0"}, {"IP0", "0"}, {"IP01", "1"}, {"ip1", "l"}, {"IPname", "n"}, {"IP-1", "m"}},
         {},
         {{"IPNumber", "0"}, {"IP0", "0"}, {"IP01", "1"}, {"ip1", "l"}, {"IPname", "n"}, {"IP-1", "m"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::MemorySettings settings;
        settings.values = c.before;
        SavedHosts hosts(settings);
        EXPECT_EQ(hosts.entries(), c.hosts);
        EXPECT_EQ(settings.values, c.after);

        settings.values = c.before;
        hosts.add("new", "N");
        Hosts more = c.hosts;
        more.push_back({"new", "N"});
        EXPECT_EQ(hosts.entries(), more);
        EXPECT_EQ(settings.read("IPNumber", ""), std::to_string(more.size()));
    }
}

} // namespace
} // namespace brindle
