#include "saved_hosts.h"

#include <algorithm>
#include <map>

namespace brindle {

namespace {

constexpr std::string_view CountKey = "IPNumber";
constexpr std::string_view AddressKey = "IP";
constexpr std::string_view NameKey = "IPname";

std::string addressKey(size_t number)
{
    return std::string(AddressKey) + std::to_string(number);
}

std::string nameKey(size_t number)
{
    return std::string(NameKey) + std::to_string(number);
}

// The number in "IP"k or "IPname"k as written: digits only, without a sign
// or a leading zero. It is never converted, so no number is too long.
bool isEntryNumber(std::string_view text)
{
    return !text.empty() && text.front() != '0' &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Entry numbers in numeric order: a shorter one is smaller.
struct NumericOrder {
    bool operator()(const std::string& a, const std::string& b) const
    {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

// The numbers of the entries present, each with the keys it has.
struct Present {
    bool address = false;
    bool name = false;
};
using PresentEntries = std::map<std::string, Present, NumericOrder>;

PresentEntries presentEntries(const SettingsStore& settings)
{
    PresentEntries found;
    for (const std::string& key : settings.keys()) {
        const std::string_view k = key;
        if (k.starts_with(NameKey) && isEntryNumber(k.substr(NameKey.size())))
            found[key.substr(NameKey.size())].name = true;
        else if (k.starts_with(AddressKey) && isEntryNumber(k.substr(AddressKey.size())))
            found[key.substr(AddressKey.size())].address = true;
    }
    return found;
}

} // namespace

std::vector<SavedHost> SavedHosts::entries()
{
    const PresentEntries present = presentEntries(settings_);
    std::vector<SavedHost> list;
    list.reserve(present.size());
    for (const auto& [number, has] : present) {
        const size_t k = list.size() + 1;
        const std::string address = std::string(AddressKey) + number;
        const std::string name = std::string(NameKey) + number;
        list.push_back({settings_.read(address, ""), settings_.read(name, "")});
        if (number == std::to_string(k))
            continue;
        // The k-th number present is above k, and every number below it has
        // moved already: k is free.
        if (has.address)
            settings_.write(addressKey(k), list.back().address);
        if (has.name)
            settings_.write(nameKey(k), list.back().name);
        settings_.remove(address);
        settings_.remove(name);
    }
    const std::string count = std::to_string(list.size());
    if (settings_.read(CountKey, "0") != count)
        settings_.write(CountKey, count);
    return list;
}

void SavedHosts::add(std::string_view address, std::string_view name)
{
    const size_t k = entries().size() + 1;
    settings_.write(addressKey(k), address);
    settings_.write(nameKey(k), name);
    settings_.write(CountKey, std::to_string(k));
}

void SavedHosts::remove(size_t index)
{
    const std::vector<SavedHost> list = entries();
    if (index >= list.size())
        return;
    for (size_t k = index + 1; k < list.size(); ++k) {
        settings_.write(addressKey(k), list[k].address);
        settings_.write(nameKey(k), list[k].name);
    }
    settings_.remove(addressKey(list.size()));
    settings_.remove(nameKey(list.size()));
    settings_.write(CountKey, std::to_string(list.size() - 1));
}

} // namespace brindle
