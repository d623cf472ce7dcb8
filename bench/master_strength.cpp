// Master against Hard: games between two brains in one process, each opened
// by two random stones near the centre, colours alternating. Prints wins,
// draws and losses for Master and its move times.
//   brindle-master-strength [games] [milliseconds a move]   (default 200 games, 300 ms)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/gomocup.h"

using brindle::engine::Brain;

namespace {

// The cell a brain answered, or -1 when it answered none.
int answered(const std::vector<std::string>& lines)
{
    int x = -1, y = -1;
    if (lines.empty() || std::sscanf(lines.back().c_str(), "%d,%d", &x, &y) != 2)
        return -1;
    return y * 20 + x;
}

bool five(const std::vector<int>& board, int cell, int player)
{
    const int x0 = cell % 20, y0 = cell / 20;
    for (const auto& [dx, dy] : {std::pair(1, 0), {0, 1}, {1, 1}, {1, -1}}) {
        int run = 1;
        for (int sign : {1, -1})
            for (int k = 1; k < 5; ++k) {
                const int x = x0 + sign * k * dx, y = y0 + sign * k * dy;
                if (x < 0 || y < 0 || x >= 20 || y >= 20 || board[y * 20 + x] != player)
                    break;
                ++run;
            }
        if (run >= 5)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 200;
    const int ms = argc > 2 ? std::atoi(argv[2]) : 300;
    std::mt19937 random(2026);
    int wins = 0, draws = 0, losses = 0, late = 0;
    std::vector<double> times;
    for (int g = 0; g < games; ++g) {
        Brain master(*brindle::levelOfWord("master"), random(), ""), hard(*brindle::levelOfWord("hard"), random(), "");
        for (Brain* b : {&master, &hard})
            b->command("START 20"), b->command("INFO timeout_turn " + std::to_string(ms + ms / 10 + 20));
        std::vector<int> board(400, 0);
        // Two random stones near the centre, one of each, as the opening.
        const int a = (8 + int(random() % 4)) * 20 + 8 + int(random() % 4);
        int b = a;
        while (b == a)
            b = (8 + int(random() % 4)) * 20 + 8 + int(random() % 4);
        const bool masterFirst = g % 2 == 0; // first moves a's colour, then its opponent answers b
        Brain* first = masterFirst ? &master : &hard;
        Brain* second = masterFirst ? &hard : &master;
        const auto row = [](int cell, const char* field) { return std::to_string(cell % 20) + "," + std::to_string(cell / 20) + "," + field; };
        board[a] = 1, board[b] = 2;
        // Each brain learns the position by BOARD on its first turn, then by TURN.
        int last = -1, mover = 1, result = 0;
        for (int ply = 0; ply < 398 && result == 0; ++ply, mover = 3 - mover) {
            Brain* brain = mover == 1 ? first : second;
            const auto start = std::chrono::steady_clock::now();
            std::vector<std::string> lines;
            if (ply == 0)
                brain->command("BOARD"), brain->command(row(a, "1")), brain->command(row(b, "2")), lines = brain->command("DONE");
            else if (ply == 1)
                brain->command("BOARD"), brain->command(row(a, "2")), brain->command(row(b, "1")), brain->command(row(last, "2")),
                    lines = brain->command("DONE");
            else
                lines = brain->command("TURN " + std::to_string(last % 20) + "," + std::to_string(last / 20));
            const double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (brain == &master) {
                times.push_back(took);
                late += took > ms + ms / 10 + 20;
            }
            last = answered(lines);
            if (last < 0 || board[last] != 0) {
                std::fprintf(stderr, "game %d: %s answered %s\n", g, brain == &master ? "master" : "hard",
                             lines.empty() ? "nothing" : lines.back().c_str());
                return 1;
            }
            board[last] = mover;
            if (five(board, last, mover))
                result = mover;
        }
        const int masterSide = masterFirst ? 1 : 2;
        (result == 0 ? draws : result == masterSide ? wins : losses) += 1;
        std::fprintf(stderr, "\rgame %d/%d: master %d won, %d drawn, %d lost", g + 1, games, wins, draws, losses);
    }
    std::sort(times.begin(), times.end());
    std::printf("\nmaster against hard, %d games: %d won, %d drawn, %d lost (%.1f %%)\n", games, wins, draws, losses,
                100.0 * wins / std::max(1, games));
    if (!times.empty())
        std::printf("master's moves: median %.1f ms, slowest %.1f ms, %d past the turn's time\n", times[times.size() / 2],
                    times.back(), late);
    return 0;
}
