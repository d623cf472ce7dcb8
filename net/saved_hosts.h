#pragma once
// The hosts the player has saved from the network dialog, kept in the
// settings as "IPNumber" = n and, for k = 1..n, "IP"k = the address and
// "IPname"k = the name it was saved under. Standard C++ over the settings
// port.
//
// The settings file may have been edited by hand: the count may be wrong or
// not a number, the numbering may have gaps or run past the count. The list
// never trusts the count; it goes by the keys present, and rewrites a damaged
// numbering as 1..m in the old order before anything else, so that no saved
// host is hidden, overwritten or lost.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "game/ports.h"

namespace brindle {

struct SavedHost {
    std::string address;
    std::string name;
    bool operator==(const SavedHost&) const = default;
};

class SavedHosts {
public:
    explicit SavedHosts(SettingsStore& settings) : settings_(settings) {}

    // Every saved host, in the order saved.
    std::vector<SavedHost> entries();
    // Saves a host after the last.
    void add(std::string_view address, std::string_view name);
    // Deletes the host at `index` (from 0); those after it move down one.
    // An index past the end deletes nothing.
    void remove(size_t index);

private:
    SettingsStore& settings_;
};

} // namespace brindle
