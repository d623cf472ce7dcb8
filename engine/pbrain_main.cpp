// pbrain-brindle: Brindle's computer player for Gomocup managers, on standard
// input and output.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/version.h"
#include "engine/gomocup.h"

namespace {

int usage(FILE* to, int code)
{
    std::fputs("usage: pbrain-brindle [--level stupid|easy|medium|hard|master]\n"
               "Speaks the Gomocup AI protocol on standard input and output; the default level is master.\n",
               to);
    return code;
}

} // namespace

int main(int argc, char* argv[])
{
    brindle::engine::Level level = brindle::engine::Level::Master;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return usage(stdout, 0);
        if (arg == "--version") {
            std::printf("pbrain-brindle %s\n", brindle::VersionText);
            return 0;
        }
        const auto chosen = arg == "--level" && i + 1 < argc ? brindle::engine::levelNamed(argv[++i]) : std::nullopt;
        if (!chosen) {
            std::fprintf(stderr, "pbrain-brindle: unknown option or level \"%s\"\n", argv[i]);
            return usage(stderr, 2);
        }
        level = *chosen;
    }

    brindle::engine::Brain brain(level, static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()),
                                 brindle::VersionText);
    brindle::engine::LineReader reader;
    char buffer[4096];
    while (!brain.ended()) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0)
            break; // the manager has gone
        for (const auto& line : reader.feed(std::string_view(buffer, static_cast<size_t>(got)))) {
            for (const std::string& answer : brain.command(line))
                std::printf("%s\n", answer.c_str());
            std::fflush(stdout);
            if (brain.ended())
                break;
        }
    }
    return 0;
}
