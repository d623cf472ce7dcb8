// Arbitrary bytes on a Gomocup brain's standard input, after START 20. Every
// answer that names a cell must name a free cell of the board, now the
// brain's, and nothing may crash or put the brain out of step: after the
// bytes, ABOUT is still answered as ABOUT.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/gomocup.h"

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void check(const brindle::engine::Brain& brain, const std::vector<std::string>& answers)
{
    for (const std::string& a : answers) {
        int x = -1, y = -1, used = 0;
        if (std::sscanf(a.c_str(), "%d,%d%n", &x, &y, &used) == 2 && static_cast<size_t>(used) == a.size())
            require(x >= 0 && y >= 0 && x < brain.size() && y < brain.size() && brain.at(x, y) == brindle::MarkX);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    brindle::engine::Brain brain(*brindle::levelOfWord("hard"), size, "0");
    brindle::engine::LineReader reader;
    check(brain, brain.command("START 20"));
    for (const auto& line : reader.feed(std::string_view(reinterpret_cast<const char*>(data), size))) {
        check(brain, brain.command(line));
        if (brain.ended())
            return 0;
    }
    for (const auto& line : reader.feed("\nDONE\nABOUT\n"))
        check(brain, brain.command(line));
    require(brain.command("ABOUT").at(0).starts_with("name=\"Brindle\""));
    return 0;
}
