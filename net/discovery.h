#pragma once
// Games on the local network: what a hosting copy announces by DNS-SD, and
// what a joining copy makes of the announcements it hears. Standard C++; the
// window speaks to the system's mDNS service, this decides what is said and
// what of the answers is shown.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::discovery {

// The DNS-SD service type of a hosted game.
inline constexpr std::string_view ServiceType = "_brindle._tcp";
// The most characters of a name or value shown from the network.
inline constexpr size_t ShownChars = 40;

// ---- Announcing

// What a hosting copy tells the network about its game.
struct Announcement {
    std::string name;          // the host's name, in UTF-8
    int32_t timeLimitSec = 0;  // 0 for none
    bool playing = false;      // a joiner has arrived
    uint16_t port = 0;
    bool operator==(const Announcement&) const = default;
};

// The announcement's instance name: the host's name as the wire can carry it.
std::string instanceName(const Announcement& a);
// The TXT strings "name=", "time=", "version=" and "state=" in that order.
std::vector<std::string> txtRecord(const Announcement& a, std::string_view version);

// The network session's port to whatever announces: the window's is the
// system's mDNS service, the tests' a recorder.
class Announcer {
public:
    virtual ~Announcer() = default;
    // Registers the game, or updates what was registered.
    virtual void announce(const Announcement& a) = 0;
    // Withdraws the registration; nothing happens when there is none.
    virtual void withdraw() = 0;
};

// ---- Finding

// Text that came from the network made safe to show: Latin-1 only, as the
// wire uses, without control characters, at most ShownChars characters.
// Input is taken as UTF-8; what is not, becomes '?'.
std::string shownText(std::string_view raw);

// One announced game as the list shows it.
struct FoundGame {
    std::string name;            // shown text
    int32_t timeLimitSec = -1;   // -1 when the announcement gave none that makes sense
    std::string address;         // dotted IPv4
    uint16_t port = 0;
    bool waiting = false;        // false: playing, or a state the list does not know
    bool operator==(const FoundGame&) const = default;
};

// The game an announcement describes, or nothing when its address or port
// makes no sense. `instance` is the service's instance name, used when the
// TXT record names nobody.
std::optional<FoundGame> foundGame(std::string_view instance, std::string_view address, int64_t port,
                                   const std::vector<std::string>& txt);

// "Alice, 1 min., 10.0.0.5:11000, waiting"
std::string listLine(const FoundGame& g);
// What the host field gets: "10.0.0.5:11000".
std::string hostField(const FoundGame& g);

// The games heard of, by the service's own key (interface, protocol, name,
// type and domain), in the order the list shows them: by name, then by
// address.
class FoundGames {
public:
    struct Entry {
        std::string key;
        FoundGame game;
    };
    // Adds a game, or replaces what the key said before; false when nothing changed.
    bool put(const std::string& key, const FoundGame& g);
    // False when the key was not listed.
    bool drop(const std::string& key);
    void clear() { entries_.clear(); }
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

} // namespace brindle::discovery
