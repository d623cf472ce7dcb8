#pragma once
// The bench signature: Master's search over a fixed set of positions to a
// fixed depth. The total of nodes searched changes only when the search's
// behaviour does, whatever the machine or build, so a change meant to keep
// the search as it is keeps the signature, and one that improves it states
// its new signature. Its time gives the nodes a second on this machine.

#include <cstdint>
#include <functional>
#include <string>

namespace brindle::engine {

inline constexpr int32_t BenchDepth = 6;

struct BenchResult {
    int64_t nodes = 0;
    double seconds = 0;
};

// Searches every position with a fresh search; `report` gets a line for each.
BenchResult runBench(int32_t depth, const std::function<void(const std::string&)>& report);

} // namespace brindle::engine
