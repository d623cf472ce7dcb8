// The computer player: it scores the empty cells near the pieces from the
// windows of five through them and plays one of the best at random.

#include <cmath>

#include "game.h"

namespace brindle {

namespace {

int32_t Int(double value) { return static_cast<int32_t>(std::floor(value)); }

} // namespace

void Game::ComputerMove()
{
    if (GameOver)
        return;
    if (!Checked(Menu_ComputerComputer))
        ui.Enabled = false;
    ui.MousePointer = PointerHourglass;

    const Choice choice = ChooseMove();
    if (choice.found)
        PlacePiece(choice.row, choice.col, choice.score);

    Enable(Menu_RejectUndo, false);
    ui.MousePointer = PointerDefault;
    ui.Enabled = true;
}

Game::Choice Game::ChooseMove()
{
    const char own = NextMark;
    BestScore = 0;
    BestCount = 0;
    if (MoveCount == 0) {
        // The opening lands in the middle half of the board, rows and columns 5 to 14.
        BestCount = 1;
        BestScore = 1;
        BestCells[1][0] = Int(random_.Rnd() * static_cast<double>(NumRows) / 2 + NumRows / 4);
        BestCells[1][1] = Int(random_.Rnd() * static_cast<double>(NumCols) / 2 + NumCols / 4);
    } else if (Checked(Menu_Stupid)) {
        PickRandomNearCell();
    } else {
        ScoreCandidates(own);
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

bool Game::Candidate(int32_t row, int32_t col) const
{
    return Board(row, col) == Empty && NearPiece[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void Game::PickRandomNearCell()
{
    // Any empty cell beside a piece will do: draw until one is hit. One always
    // exists while a piece lies on a board that is not full.
    bool any = false;
    for (int32_t r = SearchMinRow; r <= SearchMaxRow && !any; ++r)
        for (int32_t c = SearchMinCol; c <= SearchMaxCol && !any; ++c)
            any = Candidate(r, c);
    if (!any)
        return;
    BestCount = 1;
    BestScore = 1;
    for (;;) {
        const int32_t r = Int(random_.Rnd() * static_cast<double>(SearchMaxRow - SearchMinRow + 1) + SearchMinRow);
        const int32_t c = Int(random_.Rnd() * static_cast<double>(SearchMaxCol - SearchMinCol + 1) + SearchMinCol);
        if (Candidate(r, c)) {
            BestCells[1] = {r, c};
            return;
        }
    }
}

void Game::ScoreCandidates(char own)
{
    for (int32_t r = SearchMinRow; r <= SearchMaxRow; ++r) {
        for (int32_t c = SearchMinCol; c <= SearchMaxCol; ++c) {
            if (!Candidate(r, c))
                continue;
            const int32_t S = windows_.Score(r, c, own);
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

void Game::SetBusyPointer()
{
    ui.MousePointer = PointerHourglass;
}

void Game::DrawWeights()
{
    Weights w;
    random_.Randomize();
    w.Own = {0, 8 + Int(random_.Rnd() * 4.0), 18 + Int(random_.Rnd() * 10.0), 400, 10000};
    random_.Randomize();
    w.Opp = {0, 4 + Int(random_.Rnd() * 4.0), 20 + Int(random_.Rnd() * 10.0), 140, 3000};
    w.Bonus = 0;
    weights_ = w;
}

void Game::SetWeights(const Weights& weights)
{
    weights_ = weights;
    windows_.Rebuild(board_, weights_);
}

void Game::UncheckLevels()
{
    for (MenuId level : {Menu_Stupid, Menu_Easy, Menu_Normal, Menu_Hard})
        Check(level, false);
}

void Game::SetLevel(MenuId level, int32_t margin)
{
    SearchMargin = margin;
    UncheckLevels();
    Check(level, true);
}

void Game::Menu_Stupid_Click() { SetLevel(Menu_Stupid, 1); }
void Game::Menu_Easy_Click() { SetLevel(Menu_Easy, 2); }
void Game::Menu_Normal_Click() { SetLevel(Menu_Normal, 3); }
void Game::Menu_Hard_Click() { SetLevel(Menu_Hard, 4); }

} // namespace brindle
