// Learns Master's evaluation weights from finished games, and prints them as
// engine/eval_weights.h. The games are .psq or .sgf records, such as those
// that brindle-match --records writes; every quiet position after the first
// few stones is a sample, a tenth of the games are kept apart to check the fit.
// The weights are in the evaluation's own units: a lead of `scale` (1000
// unless told) stands for odds of e to 1 for the side to move.
//   brindle-tune [--iterations N] [--scale S] [--out FILE] FOLDER|FILE...

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/tuning.h"
#include "game/record.h"

namespace tuning = brindle::engine::tuning;
using brindle::engine::ShapeBoard;

namespace {

// The positions before this many stones belong to the opening, not to the players.
constexpr size_t OpeningStones = 3;

struct Games {
    std::vector<tuning::Sample> learn, check;
    int32_t games = 0, skipped = 0;
};

void readGame(const std::filesystem::path& path, Games& into)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const auto read = brindle::record::read(text.str());
    const auto* record = std::get_if<brindle::record::Record>(&read);
    if (!record || record->result == brindle::record::Result::None || record->first != brindle::MarkX) {
        ++into.skipped;
        return;
    }
    const double redScore = record->result == brindle::record::Result::RedWins ? 1
                            : record->result == brindle::record::Result::BlueWins ? 0 : 0.5;
    auto& samples = into.games % 10 == 9 ? into.check : into.learn;
    ++into.games;
    ShapeBoard board;
    for (size_t i = 0; i < record->moves.size(); ++i) {
        const int32_t mover = i % 2 == 0 ? 1 : 2;
        if (i >= OpeningStones)
            if (auto sample = tuning::sampleOf(board, mover, mover == 1 ? redScore : 1 - redScore))
                samples.push_back(*sample);
        board.set(record->moves[i].col, record->moves[i].row, mover);
    }
}

tuning::Weights toDouble(const std::array<int32_t, ShapeBoard::Features>& w)
{
    tuning::Weights out{};
    for (size_t f = 0; f < w.size(); ++f)
        out[f] = w[f];
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    int32_t iterations = 10000;
    double scale = 1000;
    std::string out;
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--iterations" && i + 1 < argc)
            iterations = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--scale" && i + 1 < argc)
            scale = std::clamp(std::atof(argv[++i]), 1.0, 1e6);
        else if (arg == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "usage: brindle-tune [--iterations N] [--scale S] [--out FILE] FOLDER|FILE...\n");
            return 2;
        } else
            inputs.emplace_back(arg);
    }
    std::vector<std::filesystem::path> files;
    for (const auto& input : inputs) {
        std::error_code error;
        if (std::filesystem::is_directory(input, error)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(input, error))
                if (entry.is_regular_file() && (entry.path().extension() == ".psq" || entry.path().extension() == ".sgf"))
                    files.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(input, error)) {
            files.push_back(input);
        } else {
            std::fprintf(stderr, "brindle-tune: %s is neither a folder nor a file\n", input.string().c_str());
            return 1;
        }
    }
    std::sort(files.begin(), files.end()); // the same split on every run
    Games games;
    for (const auto& file : files)
        readGame(file, games);
    if (games.learn.empty()) {
        std::fprintf(stderr, "brindle-tune: no finished games with quiet positions to learn from\n");
        return 1;
    }
    std::fprintf(stderr, "%d games (%d records passed over), %zu positions to learn from, %zu to check\n", games.games,
                 games.skipped, games.learn.size(), games.check.size());
    // From the hand-set worths, so that the same games always give the same weights.
    const tuning::Weights mover = toDouble(ShapeBoard::OrderWeights), waiting = mover;
    const tuning::Fit fit = tuning::fit(games.learn, mover, waiting, scale, iterations);
    std::fprintf(stderr, "at scale %.0f (the hand-set worths fit best at %.0f): loss learning %.4f -> %.4f, checking %.4f -> %.4f\n", scale, tuning::fitScale(games.learn, mover, waiting), fit.lossBefore,
                 fit.lossAfter, tuning::loss(games.check, mover, waiting, scale),
                 tuning::loss(games.check, fit.mover, fit.waiting, scale));
    const std::string source = tuning::weightsSource(
        fit.mover, fit.waiting,
        "Learned from " + std::to_string(games.learn.size()) + " positions of " + std::to_string(games.games) + " games.");
    if (out.empty()) {
        std::fputs(source.c_str(), stdout);
        return 0;
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << source;
    if (!file.flush()) {
        std::fprintf(stderr, "brindle-tune: could not write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
