#include "computer_player.h"

#include <algorithm>

namespace brindle {

ComputerPlayer::ComputerPlayer(const Cells& board, RandomSource& random) : board_(board), random_(random)
{
    recount();
}

ComputerPlayer::Choice ComputerPlayer::choose(char mover, int32_t moveCount, bool randomLevel)
{
    BestScore = 0;
    BestCount = 0;
    if (moveCount == 0) {
        // The opening lands in the middle half of the board, rows and columns 5 to 14.
        BestCount = 1;
        BestScore = 1;
        BestCells[1][0] = Int(random_.Rnd() * static_cast<double>(BoardSize) / 2 + BoardSize / 4);
        BestCells[1][1] = Int(random_.Rnd() * static_cast<double>(BoardSize) / 2 + BoardSize / 4);
    } else if (randomLevel) {
        pickRandomNearCell();
    } else {
        scoreCandidates(mover);
    }
    // Only a board with no empty cell near a piece has no candidate, and a full
    // board ends the game before the computer is asked; never play a stale cell.
    if (BestCount == 0)
        return {};

    random_.Randomize();
    const int32_t k = Int(static_cast<double>(random_.Rnd()) * BestCount) + 1;
    const auto& cell = BestCells[static_cast<size_t>(k)];
    return {cell[0], cell[1], BestScore, true};
}

void ComputerPlayer::pickRandomNearCell()
{
    // Any empty cell beside a piece will do: draw until one is hit. Look first
    // that there is one, or the drawing would never end.
    bool any = false;
    for (int32_t r = SearchMinRow; r <= SearchMaxRow && !any; ++r)
        for (int32_t c = SearchMinCol; c <= SearchMaxCol && !any; ++c)
            any = candidate(r, c);
    if (!any)
        return;
    BestCount = 1;
    BestScore = 1;
    for (;;) {
        const int32_t r = Int(random_.Rnd() * static_cast<double>(SearchMaxRow - SearchMinRow + 1) + SearchMinRow);
        const int32_t c = Int(random_.Rnd() * static_cast<double>(SearchMaxCol - SearchMinCol + 1) + SearchMinCol);
        if (candidate(r, c)) {
            BestCells[1] = {r, c};
            return;
        }
    }
}

void ComputerPlayer::scoreCandidates(char own)
{
    for (int32_t r = SearchMinRow; r <= SearchMaxRow; ++r) {
        for (int32_t c = SearchMinCol; c <= SearchMaxCol; ++c) {
            if (!candidate(r, c))
                continue;
            const int32_t S = windows_.score(r, c, own);
            if (S == BestScore) {
                ++BestCount;
                BestCells[static_cast<size_t>(BestCount)] = {r, c};
            } else if (S > BestScore) {
                BestScore = S;
                BestCount = 1;
                BestCells[1] = {r, c};
            }
        }
    }
}

void ComputerPlayer::notePiece(int32_t row, int32_t col)
{
    MinRow = std::min(MinRow, row);
    MinCol = std::min(MinCol, col);
    MaxRow = std::max(MaxRow, row);
    MaxCol = std::max(MaxCol, col);
    SearchMinRow = std::max(MinRow - SearchMargin, 0);
    SearchMinCol = std::max(MinCol - SearchMargin, 0);
    SearchMaxRow = std::min(MaxRow + SearchMargin, BoardSize - 1);
    SearchMaxCol = std::min(MaxCol + SearchMargin, BoardSize - 1);
    for (int32_t c = std::max(col - SearchMargin, 0); c <= std::min(col + SearchMargin, BoardSize - 1); ++c)
        for (int32_t r = std::max(row - SearchMargin, 0); r <= std::min(row + SearchMargin, BoardSize - 1); ++r)
            NearPiece[static_cast<size_t>(r)][static_cast<size_t>(c)] = true;
}

void ComputerPlayer::clearArea()
{
    for (auto& row : NearPiece)
        row.fill(false);
    MinRow = MinCol = BoardSize - 1;
    MaxRow = MaxCol = 0;
}

void ComputerPlayer::drawWeights()
{
    Weights w;
    random_.Randomize();
    w.OwnWeight = {0, 8 + Int(random_.Rnd() * 4.0), 18 + Int(random_.Rnd() * 10.0), 400, 10000};
    random_.Randomize();
    w.OppWeight = {0, 4 + Int(random_.Rnd() * 4.0), 20 + Int(random_.Rnd() * 10.0), 140, 3000};
    w.WindowBonus = 0;
    weights_ = w;
}

void ComputerPlayer::setWeights(const Weights& weights)
{
    weights_ = weights;
    recount();
}

} // namespace brindle
