// The saved hosts over settings in memory: saving, deleting, and settings
// files edited by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "net/saved_hosts.h"
#include "support/fake_transport.h"

namespace brindle {
namespace {

// The list as "address/name", then the settings as "key=value" in key order.
std::string listed(testing::MemorySettings& settings)
{
    std::string out;
    for (const SavedHost& h : SavedHosts(settings).entries())
        out += h.address + "/" + h.name + " ";
    out += "|";
    for (const auto& [key, value] : settings.values)
        out += " " + key + "=" + value;
    return out;
}

TEST(SavedHosts, DeletingMovesTheLaterOnesDownInOrder)
{
    testing::MemorySettings settings;
    SavedHosts hosts(settings);
    EXPECT_EQ(listed(settings), "|") << "reading an empty list writes nothing";
    hosts.add("10.0.0.1", "Ann");
    hosts.add("host.lan", "Bo");
    hosts.add("10.0.0.3", "Cy");
    EXPECT_EQ(listed(settings), "10.0.0.1/Ann host.lan/Bo 10.0.0.3/Cy | IP1=10.0.0.1 IP2=host.lan IP3=10.0.0.3 IPNumber=3 "
                                "IPname1=Ann IPname2=Bo IPname3=Cy");
    hosts.remove(1);
    hosts.remove(2); // past the end
    EXPECT_EQ(listed(settings), "10.0.0.1/Ann 10.0.0.3/Cy | IP1=10.0.0.1 IP2=10.0.0.3 IPNumber=2 IPname1=Ann IPname2=Cy");
    hosts.remove(0);
    EXPECT_EQ(listed(settings), "10.0.0.3/Cy | IP1=10.0.0.3 IPNumber=1 IPname1=Cy");
}

// Whatever the hand did to the file, every host with an address or a name
// stays, in its order, numbered 1..m; keys that only look alike are left be;
// a host saved next goes after them all.
TEST(SavedHosts, ADamagedNumberingIsRewrittenWithoutLosingAHost)
{
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"IPNumber", "5"}, {"IP1", "a"}, {"IPname1", "A"}, {"IP2", "b"}, {"IPname2", "B"}}, // count too large
         "a/A b/B | IP1=a IP2=b IPNumber=2 IPname1=A IPname2=B"},
        {{{"IPNumber", "3"}, {"IP1", "a"}, {"IP3", "c"}, {"IPname3", "C"}, {"IPname7", "G"}}, // gaps, half entries
         "a/ c/C /G | IP1=a IP2=c IPNumber=3 IPname2=C IPname3=G"},
        {{{"IPNumber", "-1"}, {"IP1", "a"}, {"IP2", "b"}}, "a/ b/ | IP1=a IP2=b IPNumber=2"},
        {{{"IP10", "j"}, {"IP9", "i"}, {"IP2", "b"}}, "b/ i/ j/ | IP1=b IP2=i IP3=j IPNumber=3"}, // numeric order
        {{{"IPNumber", "99999999999999999999"}, {"IPname99999999999999999999", "Z"}}, "/Z | IPNumber=1 IPname1=Z"},
        {{{"IPNumber", " 0"}, {"IP0", "0"}, {"IP01", "1"}, {"ip1", "l"}, {"IPname", "n"}, {"IP-1", "m"}}, // look-alikes
         "| IP-1=m IP0=0 IP01=1 IPNumber=0 IPname=n ip1=l"},
    };
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(after);
        testing::MemorySettings settings;
        settings.values = before;
        EXPECT_EQ(listed(settings), after);
        settings.values = before;
        SavedHosts(settings).add("new", "N");
        const std::string count = settings.read("IPNumber", ""), hosts = listed(settings);
        EXPECT_EQ(hosts.substr(0, hosts.find('|')), after.substr(0, after.find('|')) + "new/N ");
        EXPECT_EQ(count, std::to_string(std::count(hosts.begin(), hosts.end(), '/')));
    }
}

} // namespace
} // namespace brindle
