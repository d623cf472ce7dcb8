#pragma once
// Counts the heap allocations of this program, so a benchmark can show that a
// piece of code allocates nothing.

#include <cstddef>

namespace brindle::bench {

std::size_t Allocations();

} // namespace brindle::bench
