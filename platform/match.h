#pragma once
// brindle-match's games: two players, each a Gomocup brain run through
// EngineProcess, play game after game, several at once, colours alternating
// and each opening played once from either side.

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QObject>
#include <QStringList>

#include "platform/engine_process.h"
#include "engine/match_stats.h"

namespace brindle {

struct MatchOptions {
    // Each player as a program and its arguments.
    std::array<QStringList, 2> players;
    std::array<std::string, 2> names;
    int games = 10;
    int turnMilliseconds = 300;
    int lateMargin = 1000;
    int concurrency = 1;
    // The threads each brain may think with.
    int threads = 1;
    unsigned seed = 2026;
    // Openings to play in turn; random ones when empty.
    std::vector<std::vector<engine::Stone>> openings;
    // A .psq record of every game goes here when it is not empty.
    std::string recordFolder;
};

struct MatchResult {
    // From the first player's side.
    engine::Tally tally;
    // Games lost by misbehaving (late, garbage, crash, a taken cell), per player.
    std::array<int, 2> forfeits{};
    std::array<int64_t, 2> slowest{};
    // Every answer's time in milliseconds, per player.
    std::array<std::vector<int64_t>, 2> times;
    // Answers later than the turn's time, per player.
    std::array<int, 2> late{};
    std::vector<std::string> problems;
    // Per opening, when openings were given: the first mover's (Red's) results.
    std::vector<engine::Tally> byOpening;
};

class Match final : public QObject {
    Q_OBJECT
public:
    explicit Match(MatchOptions options);
    ~Match() override;
    // Plays every game; `progress` after each with the result so far, `done` at the end.
    void run(std::function<void(int played, const MatchResult&)> progress, std::function<void(const MatchResult&)> done);

    struct Game;

private:
    void startGame();
    void askNext(Game& game);
    void moved(Game& game, const Answer& answer, int64_t took);
    void finish(Game& game, int winner, const std::string& why);
    void writeRecord(const Game& game, int winner);

    MatchOptions options_;
    // Ends the brains of finished games, and outlives them.
    BrainEnder ender_;
    std::mt19937 random_;
    std::vector<engine::Stone> opening_;
    int started_ = 0;
    int played_ = 0;
    std::vector<std::unique_ptr<Game>> running_;
    MatchResult result_;
    std::function<void(int, const MatchResult&)> progress_;
    std::function<void(const MatchResult&)> done_;
};

} // namespace brindle
