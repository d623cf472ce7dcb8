#pragma once
// The game behind the main window: the board and every game variable, and the
// procedures of the rules, the computer player and game control. It knows
// nothing of windows; it draws through a Canvas, reaches the event loop, the
// speaker and the peer through a Host, and draws random numbers from a
// RandomSource.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "globals.h"
#include "ports.h"
#include "types.h"
#include "ui_state.h"
#include "window_tracker.h"

namespace brindle {

class Game {
public:
    Game(Globals& globals, Canvas& canvas, Host& host, RandomSource& random);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- Start-up and the game-state initialisation
    void Form_Initialize();
    void Form_Load();
    void Form_Activate();
    void ShowCaption();

    // ---- Moves and turns
    void Form_MouseDown(float X, float Y);
    void PlacePiece(int32_t Row, int32_t Col, int32_t MoveScore);
    void NextTurn(int32_t Flag);
    void ShowTurn();
    void ShowMoveCount();

    // ---- Win, draw and score
    void CheckFive();
    void RedrawGridOneWin(int32_t Row, int32_t Col);
    void DoWinner(std::string_view WinColor);
    void RefreshComp();
    bool ErFemMulig() const { return windows_.AnyOpen(); }
    // Puts the "Five not possible" banner in the middle of the board.
    void CentreDrawBanner();

    // ---- Undo and the move list
    void Menu_Undo_Click();
    void Menu_RejectUndo_Click();
    void ShowMoveList(int32_t Mode);
    std::string MoveListLine(int32_t n) const;

    // ---- Drawing the board (in twips, through the canvas)
    void DrawGrid();
    void DrawPiece(int32_t row, int32_t col);
    void RedrawPieces();
    void MoveMarkers();
    bool PersistentDrawing() const { return canvas_.PersistentDrawing(); }
    void SetPersistentDrawing(bool on) { canvas_.SetPersistentDrawing(on); }

    // ---- The computer player
    struct Choice {
        int32_t row = -1;
        int32_t col = -1;
        int32_t score = 0;
        bool found = false;
    };
    void ComputerMove();
    // Chooses the computer's cell for the side to move without playing it.
    Choice ChooseMove();
    void SetBusyPointer();
    void Menu_Stupid_Click();
    void Menu_Easy_Click();
    void Menu_Normal_Click();
    void Menu_Hard_Click();
    void UncheckLevels();
    void SetWeights(const Weights& weights);
    const Weights& CurrentWeights() const { return weights_; }

    // ---- New game and player modes
    void Menu_New_Click();
    void Menu_HumanHuman_Click();
    void Menu_HumanComputer_Click();
    void Menu_ComputerComputer_Click();
    void UncheckModes();
    void ChooseStarter();

    // ---- Automatic play
    void ShowMenuStop();
    void ShowMenuNormal();
    void Menu_Stop_Click();
    void Timer3_Timer();
    void Menu_Autodraw_Click();

    // ---- Sound switch
    void Menu_Sound_Click();

    // ---- Game clock text
    static std::string SekToTime(int32_t Seconds);
    void ShowTidSekNet();

    // ---- The board
    char Board(int32_t row, int32_t col) const
    {
        return board_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }
    void SetBoard(int32_t row, int32_t col, char value);

    // ---- Menu shorthands
    bool Checked(MenuId item) const { return ui.Menu[item].Checked; }
    void Check(MenuId item, bool on) { ui.Menu[item].Checked = on; }
    void Enable(MenuId item, bool on) { ui.Menu[item].Enabled = on; }

    // ---- State kept by the window's controls
    Ui ui;
    Globals& globals;

    // ---- Board and its size
    int32_t NumRows = BoardSize;
    int32_t NumCols = BoardSize;
    int32_t MaxMoves = CellCount;
    int32_t CellWidth = 225;
    int32_t CellHeight = 225;
    int32_t PieceInset = 15;

    // ---- Turn and moves
    char NextMark = MarkX;
    char LastMark = MarkX;
    int32_t LastRow = 0;
    int32_t LastCol = 0;
    int32_t ClickRow = 0;
    int32_t ClickCol = 0;
    int32_t MoveCount = 0;
    int32_t HighMove = 0;
    int32_t ListedMoves = 0;
    // History[n] = {unused, row, column, the computer's score or 0}.
    std::array<std::array<int32_t, 4>, CellCount + 1> History{};
    bool GameOver = false;
    bool Stopped = false;
    char Starter = Empty; // 'H' the human opens, 'C' the computer opens
    bool Replaying = false;
    // WinCells[k] = {unused, row, column} of the last winning line.
    std::array<std::array<int32_t, 3>, 5> WinCells{};
    // True once this game was won by a line of five (not on time, not stopped).
    bool WonByLine = false;

    // ---- Start-up
    std::string StartState;
    bool IntroShown = false;
    bool IntroSkip = false;

    // ---- Area of play, for the computer player
    int32_t MinRow = 19;
    int32_t MinCol = 19;
    int32_t MaxRow = 0;
    int32_t MaxCol = 0;
    int32_t SearchMargin = 4;
    int32_t SearchMinRow = 0;
    int32_t SearchMinCol = 0;
    int32_t SearchMaxRow = 0;
    int32_t SearchMaxCol = 0;
    std::array<std::array<bool, BoardSize + 1>, BoardSize + 1> NearPiece{};

    // ---- The computer player's working storage
    int32_t BestScore = 0;
    int32_t BestCount = 0;
    std::array<std::array<int32_t, 2>, CellCount + 1> BestCells{}; // entries 1..BestCount
    bool AutodrawBusy = false;

    // ---- Game clock
    int32_t GameSeconds = 0;
    int32_t RedTime = 0;
    int32_t BlueTime = 0;

private:
    void Refuse();
    void DrawOutcome();
    void WinSound();
    void TakeBackMove();
    // The turn square, its text, the time box, the move count and the score.
    void ShowStatus(bool shown);
    void ScoreCandidates(char own);
    void PickRandomNearCell();
    // An empty cell near a piece: the only cells the computer considers.
    bool Candidate(int32_t row, int32_t col) const;
    void SetLevel(MenuId level, int32_t margin);
    // Draws the weight tables afresh; only the game's initialisation does,
    // and it recounts the board afterwards.
    void DrawWeights();

    Canvas& canvas_;
    Host& host_;
    RandomSource& random_;

    WindowTracker::Cells board_{};
    WindowTracker windows_;
    Weights weights_;

    // Counts the games begun and every change of the position, so that a move
    // can tell that a new game or another move replaced it while events ran.
    uint32_t gameNumber_ = 0;
    uint32_t positionNumber_ = 0;
    // Nonzero while a placed piece lets events run; board clicks are dropped then.
    int32_t moveEventPass_ = 0;
};

} // namespace brindle
