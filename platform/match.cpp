#include "platform/match.h"

#include "platform/record_files.h"

#include <QDateTime>
#include <QDir>
#include <QTimer>

namespace brindle {

struct Match::Game {
    int number = 0;
    // Which player moves first: 0 the match's first player, 1 its second.
    int firstPlayer = 0;
    std::vector<engine::Stone> moves;
    std::vector<int64_t> times;
    size_t openingLength = 0;
    size_t opening = 0; // its index among the given openings
    std::array<std::unique_ptr<EngineProcess>, 2> engines; // by player
    int ready = 0;
    int64_t askedAt = 0;
    bool over = false;
    std::string why;
    int winner = -1; // the player, -1 for a draw
};

namespace {

// The player to move by the parity of the moves: the opening's first stone is the first mover's.
int moverOf(const Match::Game& g)
{
    return static_cast<int>((g.moves.size() + static_cast<size_t>(g.firstPlayer)) % 2);
}

} // namespace

Match::Match(MatchOptions options) : options_(std::move(options)), random_(options_.seed) {}

Match::~Match() = default;

void Match::run(std::function<void(int, const MatchResult&)> progress, std::function<void(const MatchResult&)> done)
{
    progress_ = std::move(progress);
    done_ = std::move(done);
    if (options_.games <= 0)
        return done_(result_);
    for (int i = 0; i < std::max(1, options_.concurrency) && started_ < options_.games; ++i)
        startGame();
}

void Match::startGame()
{
    auto game = std::make_unique<Game>();
    Game& g = *game;
    g.number = started_++;
    g.firstPlayer = g.number % 2;
    // Each opening is played twice, the players swapping colours.
    if (g.number % 2 == 0) {
        const size_t pair = static_cast<size_t>(g.number / 2);
        opening_ = options_.openings.empty() ? engine::randomOpening(random_)
                                             : options_.openings[pair % options_.openings.size()];
    }
    g.opening = static_cast<size_t>(g.number / 2) % std::max<size_t>(options_.openings.size(), 1);
    g.moves = opening_;
    g.openingLength = opening_.size();
    g.times.assign(opening_.size(), 0);
    running_.push_back(std::move(game));
    for (int p = 0; p < 2; ++p) {
        EngineProcess::Options o;
        o.turnMilliseconds = options_.turnMilliseconds;
        o.lateMargin = options_.lateMargin;
        o.threads = options_.threads;
        QStringList command = options_.players[static_cast<size_t>(p)];
        const QString program = command.takeFirst();
        g.engines[static_cast<size_t>(p)] = std::make_unique<EngineProcess>(program, command, o, ender_);
        g.engines[static_cast<size_t>(p)]->start([this, &g, p](const std::string& failure) {
            if (g.over)
                return;
            if (!failure.empty())
                return finish(g, 1 - p, options_.names[static_cast<size_t>(p)] + " " + failure);
            if (++g.ready == 2)
                askNext(g);
        });
    }
}

void Match::askNext(Game& g)
{
    if (g.moves.size() >= 400)
        return finish(g, -1, "the board is full");
    const int mover = moverOf(g);
    g.askedAt = QDateTime::currentMSecsSinceEpoch();
    g.engines[static_cast<size_t>(mover)]->askMove(
        [&g] {
            EngineProcess::Moves rc;
            for (const engine::Stone& s : g.moves)
                rc.push_back({s[1], s[0]});
            return rc;
        }(),
        [this, &g](const Answer& a) {
            const int64_t took = QDateTime::currentMSecsSinceEpoch() - g.askedAt;
            // Out of the engine's own call before the game may end and take it away.
            QTimer::singleShot(0, this, [this, &g, a, took] { moved(g, a, took); });
        });
}

void Match::moved(Game& g, const Answer& a, int64_t took)
{
    if (g.over)
        return;
    const int mover = moverOf(g);
    const std::string& name = options_.names[static_cast<size_t>(mover)];
    if (!a.failure.empty())
        return finish(g, 1 - mover, name + " " + a.failure);
    // The brain's manager has judged the cell: on the board and free.
    const engine::Stone stone{a.col, a.row};
    auto& slowest = result_.slowest[static_cast<size_t>(mover)];
    slowest = std::max(slowest, took);
    result_.times[static_cast<size_t>(mover)].push_back(took);
    result_.late[static_cast<size_t>(mover)] += took > options_.turnMilliseconds;
    g.moves.push_back(stone);
    g.times.push_back(took);
    if (engine::makesFive(g.moves, g.moves.size() - 1))
        return finish(g, mover, name + " made five");
    askNext(g);
}

void Match::finish(Game& g, int winner, const std::string& why)
{
    if (g.over)
        return;
    g.over = true;
    g.winner = winner;
    g.why = why;
    const bool forfeit = why.find(" made five") == std::string::npos && winner >= 0;
    if (forfeit) {
        ++result_.forfeits[static_cast<size_t>(1 - winner)];
        result_.problems.push_back("game " + std::to_string(g.number + 1) + ": " + why);
    }
    (winner < 0 ? result_.tally.draws : winner == 0 ? result_.tally.wins : result_.tally.losses) += 1;
    if (!options_.openings.empty()) {
        result_.byOpening.resize(options_.openings.size());
        engine::Tally& red = result_.byOpening[g.opening];
        (winner < 0 ? red.draws : winner == g.firstPlayer ? red.wins : red.losses) += 1;
    }
    writeRecord(g, winner);
    ++played_;
    // The engines end with END, and are killed if they linger; the game goes
    // once this call has returned.
    QTimer::singleShot(0, this, [this, &g] {
        const auto it = std::find_if(running_.begin(), running_.end(), [&g](const auto& p) { return p.get() == &g; });
        if (it != running_.end())
            running_.erase(it);
        if (progress_)
            progress_(played_, result_);
        if (started_ < options_.games)
            startGame();
        else if (running_.empty() && done_)
            std::exchange(done_, nullptr)(result_);
    });
}

void Match::writeRecord(const Game& g, int winner)
{
    if (options_.recordFolder.empty())
        return;
    const std::string& first = options_.names[static_cast<size_t>(g.firstPlayer)];
    const std::string& second = options_.names[static_cast<size_t>(1 - g.firstPlayer)];
    record::Record r;
    r.red = first;
    r.blue = second;
    r.result = winner < 0 ? record::Result::Draw : winner == g.firstPlayer ? record::Result::RedWins : record::Result::BlueWins;
    r.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    for (size_t i = 0; i < g.moves.size(); ++i)
        r.moves.push_back({g.moves[i][1], g.moves[i][0], i < g.times.size() ? g.times[i] : -1});
    QDir().mkpath(QString::fromStdString(options_.recordFolder));
    const QString path = QString::fromStdString(options_.recordFolder) + QStringLiteral("/game-%1.psq").arg(g.number + 1, 3, 10, QChar('0'));
    if (const std::string failure = writeAtomically(path, record::toPsq(r)); !failure.empty())
        result_.problems.push_back("game " + std::to_string(g.number + 1) + ": " + failure);
}

} // namespace brindle
