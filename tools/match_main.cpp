// brindle-match: plays games between two Gomocup brains, or Brindle's own
// levels, and reports the score, the Elo difference and the slowest answers.

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/match.h"
#include "game/version.h"
#include "engine/gomocup.h"

namespace {

// Master as it played at the end of 2026, for measuring the new one against.
constexpr const char* YardstickWord = "master-2026";

int usage(FILE* to, int code)
{
    std::fprintf(to, "usage: brindle-match [options] PLAYER PLAYER\n"
               "A player is a level (%s), master-2026 (the yardstick, in the release build)\n"
               "or a brain's command line.\n"
               "  --games N         games to play (default 10)\n"
               "  --ms N            time per move in milliseconds (default 300)\n"
               "  --concurrency N   games played at once (default 1)\n"
               "  --threads N       the threads each brain may think with (default 1)\n"
               "  --openings FILE   openings, one a line as \"x,y x,y ...\" from 0; random ones otherwise\n"
               "  --by-opening      with --openings, print Red's results from each opening\n"
               "  --records DIR     write every game as a .psq record into DIR\n"
               "  --seed N          the random openings' seed (default 2026)\n",
               brindle::levelWords(", ").c_str());
    return code;
}

bool number(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high)
        return false;
    out = static_cast<int>(v);
    return true;
}

void progressBar(int played, int games, const brindle::MatchResult& r)
{
    const int width = 30, filled = games > 0 ? played * width / games : width;
    std::fprintf(stderr, "\r[%s%s] %d/%d  first player: %d won, %d drawn, %d lost", std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(width - filled), '.').c_str(), played, games, r.tally.wins, r.tally.draws,
                 r.tally.losses);
    if (played == games || !isatty(STDERR_FILENO))
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    brindle::MatchOptions options;
    std::vector<std::string> players;
    bool byOpening = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h")
            return usage(stdout, 0);
        if (arg == "--version")
            return std::printf("brindle-match %s\n", brindle::VersionText), 0;
        bool ok = true;
        if (arg == "--games")
            ok = hasValue && number(argv[++i], 1, 1000000, options.games);
        else if (arg == "--ms")
            ok = hasValue && number(argv[++i], 1, 3600000, options.turnMilliseconds);
        else if (arg == "--concurrency")
            ok = hasValue && number(argv[++i], 1, 64, options.concurrency);
        else if (arg == "--threads")
            ok = hasValue && number(argv[++i], 1, 64, options.threads);
        else if (arg == "--seed") {
            int seed = 0;
            ok = hasValue && number(argv[++i], 0, 2147483647, seed);
            options.seed = static_cast<unsigned>(seed);
        } else if (arg == "--by-opening")
            byOpening = true;
        else if (arg == "--records")
            ok = hasValue, options.recordFolder = hasValue ? argv[++i] : "";
        else if (arg == "--openings") {
            std::ifstream in(hasValue ? argv[++i] : "");
            ok = hasValue && in;
            std::string line;
            for (int n = 1; ok && std::getline(in, line); ++n) {
                const auto opening = brindle::engine::parseOpening(line);
                if (!opening) {
                    std::fprintf(stderr, "brindle-match: %s line %d is not an opening: \"%s\"\n", argv[i], n, line.c_str());
                    return 2;
                }
                if (!opening->empty())
                    options.openings.push_back(*opening);
            }
        } else if (arg.rfind("--", 0) == 0)
            ok = false;
        else
            players.push_back(arg);
        if (!ok) {
            std::fprintf(stderr, "brindle-match: bad option or value: %s\n", arg.c_str());
            return usage(stderr, 2);
        }
    }
    if (players.size() != 2)
        return usage(stderr, 2);

    // A level is Brindle's own brain beside this program; master-2026 is the
    // frozen yardstick that the benchmarks' build puts there too.
    const QDir here(QCoreApplication::applicationDirPath());
    const QString brain = here.filePath(QStringLiteral("pbrain-brindle"));
    for (size_t p = 0; p < 2; ++p) {
        const std::string& player = players[p];
        const bool named = brindle::levelOfWord(player) || player == YardstickWord;
        if (player == YardstickWord)
            options.players[p] = {here.filePath(QStringLiteral("pbrain-master-2026"))};
        else if (named)
            options.players[p] = {brain, QStringLiteral("--level"), QString::fromStdString(player)};
        else
            options.players[p] = QProcess::splitCommand(QString::fromStdString(player));
        if (options.players[p].isEmpty())
            return usage(stderr, 2);
        if (player == YardstickWord && !QFileInfo(options.players[p][0]).isExecutable()) {
            std::fprintf(stderr, "brindle-match: %s is built by the release preset only (cmake --build --preset release)\n",
                         YardstickWord);
            return 2;
        }
        options.names[p] = named ? player : QFileInfo(options.players[p][0]).fileName().toStdString();
    }
    if (options.names[0] == options.names[1])
        options.names[0] += " (1)", options.names[1] += " (2)";

    brindle::Match match(options);
    match.run([&](int played, const brindle::MatchResult& r) { progressBar(played, options.games, r); },
              [&](const brindle::MatchResult& r) {
                  const auto& t = r.tally;
                  std::printf("%s against %s, %d games at %d ms a move\n", options.names[0].c_str(),
                              options.names[1].c_str(), t.games(), options.turnMilliseconds);
                  std::printf("%s: %d won, %d drawn, %d lost\n", options.names[0].c_str(), t.wins, t.draws, t.losses);
                  std::printf("%s: %d won, %d drawn, %d lost\n", options.names[1].c_str(), t.losses, t.draws, t.wins);
                  std::printf("score: %.1f %% for %s\n", 100.0 * t.score(), options.names[0].c_str());
                  std::printf("Elo difference: %s\n", brindle::engine::toText(brindle::engine::eloOf(t)).c_str());
                  for (size_t p = 0; p < 2; ++p) {
                      std::vector<int64_t> times = r.times[p];
                      std::sort(times.begin(), times.end());
                      const long long median = times.empty() ? 0 : static_cast<long long>(times[times.size() / 2]);
                      std::printf("%s: median answer %lld ms, slowest answer %lld ms, %d past the move's time, %d games lost "
                                  "by misbehaving\n",
                                  options.names[p].c_str(), median, static_cast<long long>(r.slowest[p]), r.late[p],
                                  r.forfeits[p]);
                  }
                  for (const std::string& problem : r.problems)
                      std::printf("  %s\n", problem.c_str());
                  for (size_t i = 0; byOpening && i < r.byOpening.size(); ++i) {
                      std::string stones;
                      for (const auto& [x, y] : options.openings[i]) {
                          if (!stones.empty())
                              stones += ' ';
                          stones += std::to_string(x);
                          stones += ',';
                          stones += std::to_string(y);
                      }
                      const auto& red = r.byOpening[i];
                      std::printf("opening %zu: %s: Red won %d, drawn %d, lost %d\n", i + 1, stones.c_str(), red.wins,
                                  red.draws, red.losses);
                  }
                  std::fflush(stdout);
                  app.quit();
              });
    app.exec();
    return 0;
}
