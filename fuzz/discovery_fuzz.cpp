// Arbitrary bytes as an announcement heard from the network: the first line
// is the instance name, the second the address, the third the port, and each
// line after that one TXT string. Whatever of it is shown is Latin-1 text
// without control characters, at most forty characters a field, and showing
// it again changes nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "net/discovery.h"

namespace {

using namespace brindle::discovery;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The characters of UTF-8 text that holds only Latin-1 ones; -1 when it
// holds anything else, or a control character.
long safeChars(std::string_view text)
{
    long chars = 0;
    for (size_t i = 0; i < text.size(); ++i, ++chars) {
        const auto b = static_cast<unsigned char>(text[i]);
        unsigned cp = b;
        if (b >= 0x80) {
            if ((b != 0xC2 && b != 0xC3) || i + 1 == text.size())
                return -1;
            const auto next = static_cast<unsigned char>(text[++i]);
            if ((next & 0xC0) != 0x80)
                return -1;
            cp = (b & 0x1Fu) << 6 | (next & 0x3Fu);
        }
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F))
            return -1;
    }
    return chars;
}

void requireShown(std::string_view text)
{
    const long chars = safeChars(text);
    require(chars >= 0 && chars <= static_cast<long>(ShownChars));
    require(shownText(text) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t i = 0; i <= input.size(); ++i) {
        if (i == input.size() || input[i] == '\n') {
            fields.emplace_back(input.substr(start, i - start));
            start = i + 1;
        }
    }
    while (fields.size() < 3)
        fields.emplace_back();
    for (const std::string& f : fields)
        requireShown(shownText(f));

    int64_t port = 0;
    for (const char c : fields[2].substr(0, 12))
        port = port * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
    const std::vector<std::string> txt(fields.begin() + 3, fields.end());
    const auto game = foundGame(fields[0], fields[1], port, txt);
    if (!game)
        return 0;
    requireShown(game->name);
    require(!game->name.empty());
    require(game->port >= 1 && game->address == fields[1]);
    require(game->timeLimitSec >= -1 && game->timeLimitSec <= 24 * 60 * 60);
    require(safeChars(listLine(*game)) >= 0);
    return 0;
}
