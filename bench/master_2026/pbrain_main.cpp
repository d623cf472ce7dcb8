// pbrain-master-2026: Master as it played at the end of 2026, kept unchanged as
// the yardstick that brindle-match measures the new Master against. Brindle's
// computer player for Gomocup managers, on standard
// input and output. One thread reads the manager's lines while the other
// answers them, so that END stops a search at once.

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "engine/bench.h"
#include "engine/gomocup.h"
#include "game/version.h"

namespace {

int usage(FILE* to, int code)
{
    std::fprintf(to,
                 "usage: pbrain-brindle [--level %s]\n"
                 "       pbrain-brindle --bench [DEPTH]\n"
                 "Speaks the Gomocup AI protocol on standard input and output; the default level is master.\n"
                 "--bench searches a fixed set of positions to a fixed depth (default %d) and prints the nodes\n"
                 "searched, the signature of the search's behaviour, and the nodes a second.\n",
                 brindle::levelWords("|").c_str(), brindle::engine::BenchDepth);
    return code;
}

// The lines read and not yet answered, shared by the two threads.
struct Inbox {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<brindle::engine::LineReader::Line> lines;
    bool closed = false;
    // Set by the reader when END comes or the manager goes.
    std::atomic<bool> stop{false};
};

bool isEnd(const std::string& text)
{
    const size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos || text.size() - b < 3)
        return false;
    const std::string word = text.substr(b, text.find_first_of(" \t", b) - b);
    return word.size() == 3 && (word[0] | 0x20) == 'e' && (word[1] | 0x20) == 'n' && (word[2] | 0x20) == 'd';
}

int bench(int argc, char* argv[])
{
    int depth = brindle::engine::BenchDepth;
    if (argc > 3 || (argc == 3 && (std::sscanf(argv[2], "%d", &depth) != 1 || depth < 1 || depth > 30))) {
        std::fprintf(stderr, "pbrain-brindle: --bench takes a depth from 1 to 30\n");
        return 2;
    }
    const brindle::engine::BenchResult result =
        brindle::engine::runBench(depth, [](const std::string& line) { std::printf("%s\n", line.c_str()); });
    std::printf("Nodes searched: %lld\n", static_cast<long long>(result.nodes));
    std::printf("Nodes/second: %.0f\n", result.seconds > 0 ? static_cast<double>(result.nodes) / result.seconds : 0.0);
    return 0;
}

void readManager(Inbox& inbox)
{
    brindle::engine::LineReader reader;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        std::lock_guard lock(inbox.mutex);
        if (got <= 0) { // the manager has gone
            inbox.closed = true;
            inbox.stop = true;
            inbox.arrived.notify_one();
            return;
        }
        for (auto& line : reader.feed(std::string_view(buffer, static_cast<size_t>(got)))) {
            if (!line.tooLong && isEnd(line.text))
                inbox.stop = true;
            inbox.lines.push_back(std::move(line));
        }
        inbox.arrived.notify_one();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && std::string_view(argv[1]) == "--bench")
        return bench(argc, argv);
    const brindle::Level* level = brindle::levelOfWord("master");
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return usage(stdout, 0);
        if (arg == "--version") {
            std::printf("pbrain-brindle %s\n", brindle::VersionText);
            return 0;
        }
        const brindle::Level* chosen = arg == "--level" && i + 1 < argc ? brindle::levelOfWord(argv[++i]) : nullptr;
        if (chosen == nullptr) {
            std::fprintf(stderr, "pbrain-brindle: unknown option or level \"%s\"\n", argv[i]);
            return usage(stderr, 2);
        }
        level = chosen;
    }

    brindle::engine::Brain brain(*level, static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()),
                                 brindle::VersionText);
    // The reader lives as long as the process: it may sit in read() when the
    // brain ends, and the end of the process takes it along.
    static Inbox inbox;
    brain.stopWhen(&inbox.stop);
    brain.sayWhileThinking([](const std::string& message) {
        std::printf("%s\n", message.c_str());
        std::fflush(stdout);
    });
    std::thread(readManager, std::ref(inbox)).detach();
    for (;;) {
        brindle::engine::LineReader::Line line;
        {
            std::unique_lock lock(inbox.mutex);
            inbox.arrived.wait(lock, [] { return !inbox.lines.empty() || inbox.closed; });
            if (inbox.lines.empty())
                break;
            line = std::move(inbox.lines.front());
            inbox.lines.pop_front();
        }
        // A search that END cut short still answers a free cell; the
        // manager, having said END, takes no notice.
        const std::vector<std::string> answers = brain.command(line);
        for (const std::string& answer : answers)
            std::printf("%s\n", answer.c_str());
        std::fflush(stdout);
        if (brain.ended())
            break;
    }
    return 0;
}
