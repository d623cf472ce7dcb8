#pragma once
// The game behind the main window: the board and every game variable, and the
// procedures of the rules and game control. It knows nothing of windows; it
// reaches the world only through its ports, and every event enters through
// command(), runWhenSettled(), timerFired() or the window's own handlers.
//
// The game's fixed vocabulary (MoveCount, PlacePiece, Menu_New_Click ...) keeps
// its spelling; every name added around it is camelCase, so the two are told
// apart at a glance.

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "computer_player.h"
#include "game_clock.h"
#include "globals.h"
#include "levels.h"
#include "ports.h"
#include "record.h"
#include "types.h"
#include "ui_state.h"

namespace brindle {

namespace testing {
struct GameAccess;
}

// The game variables that only the game writes; others read them through state().
struct GameState {
    int32_t NumRows = BoardSize;
    int32_t NumCols = BoardSize;
    int32_t MaxMoves = CellCount;

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
    // This game was won by a line of five (not on time, not stopped).
    bool wonByLine = false;
    // This game ended in a draw.
    bool drawn = false;
    bool AutodrawBusy = false;
    // moveMs[n]: how long move n took, in milliseconds; -1 when not known.
    std::array<int64_t, CellCount + 1> moveMs{};

    std::string StartState;
    bool IntroShown = false;
    bool IntroSkip = false;
};

class Game : private GameState {
public:
    Game(Globals& globals, const Ports& ports);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // ---- The one way in for events
    // A menu item chosen, by mouse or shortcut. A greyed or hidden item and a
    // disabled window take nothing; while a move is being placed or a new game
    // set up, the command waits and runs as soon as that is done. Returns
    // whether the command was taken.
    bool command(MenuId item);
    // Handlers of items that live outside the game (the details panel, piece
    // sizes, Exit, the dialogs).
    void bindCommand(MenuId item, std::function<void()> handler);
    // Runs an event (an incoming message) now, or after the move or new game
    // under way, in the order events arrived.
    void runWhenSettled(std::function<void()> event);
    // One of the window's four timers (1 to 4) has fired.
    void timerFired(int timer);
    // A key pressed in the move list (13 is Enter).
    void txtMoves_KeyDown(int32_t KeyCode, int32_t Shift);

    // ---- Start-up and the ends of the program
    void Form_Load();
    void Form_Activate();
    // The window is closing: the music stops.
    void Form_Unload();
    // The program ends: the game takes no further move and no timer runs.
    void windDown();

    // ---- Moves and the end of a game
    // A click on the board, in twips. It hides the keyboard's cursor.
    void Form_MouseDown(float X, float Y);
    // A key on the board. The first one shows the cursor, on the last move
    // (the centre before the first); then the arrows move it and Home takes
    // it to the centre. Play (Enter or Space) plays on its cell as a click
    // there would. The board takes keys when it would take a click.
    enum class BoardKey { Left, Right, Up, Down, Home, Play };
    void boardKey(BoardKey key);
    // A cell in words, for a screen reader: "row 10, column 11, red".
    std::string cellName(int32_t row, int32_t col) const;
    // The whose-turn square in words: "Red to move", "Blue wins", "Draw".
    std::string turnName() const;
    void PlacePiece(int32_t Row, int32_t Col, int32_t MoveScore);
    void DoWinner(std::string_view WinColor);
    // The host says who won on time ('R' or 'B').
    void timeWinArrived(char winner);
    bool ErFemMulig() const { return computer_.fivePossible(); }
    // The computer's cell for the side to move, not played.
    ComputerPlayer::Choice chooseMove();
    // The thinker (Master or the other engine) has been asked and not yet answered.
    bool thinking() const { return thinking_; }
    // Hint, Analysis and Review game are greyed where they would not be
    // fair or have nothing to work on: a network game, the computer's turn,
    // a game played by the computer alone, an ended game (Hint only).
    void showAdviceItems();
    // The moves on the board, {row, column} in the order played.
    std::vector<std::array<int32_t, 2>> movesOnBoard() const { return movesThrough(MoveCount); }
    // The moves of the game as far as Reject undo could bring them back.
    std::vector<std::array<int32_t, 2>> movesKept() const { return movesThrough(std::max(HighMove, MoveCount)); }
    // ---- Game records
    // The game so far, with the players' names and, once it has ended, its result.
    record::Record record(std::string date) const;
    // Puts a record on the board as if it had been played, without counting
    // its result; an unfinished game goes on in the current mode. Returns why
    // it cannot, for the player; empty when it is on the board.
    std::string openRecord(const record::Record& game);
    // The window closes: an unfinished game outside the network is kept for
    // "Continue last game".
    void keepUnfinished();
    // New game, another mode or the network dialog replaces the game on the
    // board: it is kept as at closing when a player has moved in it. The
    // computer's opening alone, or a game it played against itself, leaves
    // the kept game as it is.
    void keepBeforeReplacing();

    // The level "Other engine", once the window has started one.
    void otherEngineChosen() { chooseLevel(Menu_OtherEngine); }
    // The step (1 to 8) that Strength... plays at: set alone it waits for the
    // item to be chosen; chosen, it is the level from now on.
    int32_t strength() const { return strength_; }
    void setStrength(int32_t step);
    void chooseStrength(int32_t step) { setStrength(step), chooseLevel(Menu_Strength); }

    // ---- New game
    void Menu_New_Click();

    // ---- What the network game reaches: the caption with both names, the
    // score, the menus, and the side that opens, which the host decides.
    void ShowCaption();
    void RefreshComp();
    void UncheckModes();
    void ShowMenuStop();
    void ShowMenuNormal();
    // The joiner opens with the mark the host tossed: 'X' or 'O'.
    void setNextMark(char mark);

    // ---- Drawing the board and the move list
    void DrawGrid();
    void RedrawPieces();
    void MoveMarkers();
    void ShowMoveList(int32_t Mode);
    // Puts the "Five not possible" banner in the middle of the board.
    void centreDrawBanner();
    bool persistentDrawing() const { return canvas_.persistentDrawing(); }
    void setPersistentDrawing(bool on) { canvas_.setPersistentDrawing(on); }

    // ---- The board. setBoard() is how every cell changes, positions set up
    // by tests and benchmarks included.
    char Board(int32_t row, int32_t col) const
    {
        return board_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }
    void setBoard(int32_t row, int32_t col, char value);

    // ---- Menu items
    bool checked(MenuId item) const { return ui.Menu[item].Checked; }
    void check(MenuId item, bool on)
    {
        ui.Menu[item].Checked = on;
        if (item == Menu_Network)
            showRecordItems();
    }
    void enable(MenuId item, bool on) { ui.Menu[item].Enabled = on; }

    // ---- What others read
    const GameState& state() const { return *this; }
    const ComputerPlayer& computer() const { return computer_; }
    const GameClock& clock() const { return clock_; }

    // What the window's controls show; the window renders it, the layout and
    // the dialogs write positions and texts.
    Ui ui;
    Globals& globals;
    // Cell size and piece inset, set by the layout and the piece sizes.
    int32_t CellWidth = 225;
    int32_t CellHeight = 225;
    int32_t PieceInset = 15;

private:
    friend struct testing::GameAccess;

    void Form_Initialize();
    void NextTurn(int32_t Flag);
    void ShowTurn();
    void ShowMoveCount();
    void CheckFive();
    void RedrawGridOneWin(int32_t Row, int32_t Col);
    void DrawPiece(int32_t row, int32_t col);
    // The last line of five is marked on the board.
    bool winMarked() const;
    // A cell drawn afresh: its piece, with the cursor's frame on it, and the win's mark.
    void drawCell(int32_t row, int32_t col);
    void drawCursor();
    void hideCursor();
    // The click's work, wherever the click came from.
    void clickAt(float X, float Y);
    void say(std::string words);
    void sayMove(char mark, int32_t row, int32_t col);
    void sayWin(char mark, bool onTime);
    void ComputerMove();
    // The computer's move when Master or the other engine plays it.
    bool thinkerPlays() const;
    void askThinker();
    void Menu_Hint_Click();
    void hintAnswered(uint32_t position, const Answer& answer);
    // Moves 1 to `last` of History.
    std::vector<std::array<int32_t, 2>> movesThrough(int32_t last) const;
    // Why a thinker's cell cannot be played ("played on a taken cell (row 3,
    // column 4)."); empty when it can.
    std::string unplayable(const Answer& answer) const;
    // The position has changed: a hint given for it, or asked, no longer stands.
    void positionChanged();
    void thinkerAnswered(uint32_t game, uint32_t position, const Answer& answer);
    void stopThinking();
    void thinkerFailed(const std::string& what);
    void SetBusyPointer();
    void ChooseStarter();
    void UncheckLevels();
    // The checked level's row; none while the other engine plays.
    const Level* currentLevel() const;

    // Menu handlers, reached through command().
    void newGameCommand();
    void Menu_Undo_Click();
    void Menu_RejectUndo_Click();
    void Menu_HumanHuman_Click();
    void Menu_HumanComputer_Click();
    void Menu_ComputerComputer_Click();
    void Menu_Stop_Click();
    void Menu_Autodraw_Click();
    void Menu_Sound_Click();
    void Menu_Music_Click();

    // Timer handlers, reached through timerFired().
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();

    void bindCoreCommands();
    bool available(MenuId item) const;
    // The game is in the middle of something that events must not interleave with.
    bool busy() const { return moveEventPass_ > 0 || settingUp_ || Replaying; }
    // Runs what waited while the game was busy.
    void runWaiting();

    void drawOutcome();
    // The line of five through the last move, into WinCells.
    bool findFive();
    // The end of a game shown, not counted: for a game that is opened.
    void showWinner(char mark);
    void showDraw();
    // Records open and continue outside a network game, and Continue only
    // while a game is kept.
    void showRecordItems();
    void Menu_Continue_Click();
    // Puts the moves on the board in the current mode; the clock goes on
    // from the given seconds.
    void loadMoves(const record::Record& game, int32_t clockSeconds);
    void dropKept();
    // A game has ended: the kept game goes, unless the computer played both sides.
    void dropKeptAtTheEnd();
    std::string playerName(bool red) const;
    void winSound();
    void takeBackMove();
    // An ended game goes on: no longer over, its banner and turn square as in play.
    void reopenGame();
    // The turn square, its text, the time box, the move count and the score.
    void showStatus(bool shown);
    // A level's item: its row of the table, or the other engine with Hard's margin.
    void chooseLevel(MenuId item);

    Canvas& canvas_;
    EventLoop& events_;
    Sound& sound_;
    Peer& peer_;
    RandomSource& random_;
    Thinker* thinker_;
    Dialogs* dialogs_;
    KeptGame* kept_;
    MonotonicClock now_;
    DateSource today_;
    // When the last move was placed, or the game began.
    int64_t lastMoveAt_ = 0;
    // The players and date of an opened record, which a save keeps.
    std::string openedRed_;
    std::string openedBlue_;
    std::string openedDate_;
    // A kept game waits for "Continue last game".
    bool keptWaiting_ = false;
    bool thinking_ = false;
    int32_t strength_ = DefaultStrength;
    bool hinting_ = false;

    ComputerPlayer::Cells board_;
    ComputerPlayer computer_;
    GameClock clock_;

    std::array<std::function<void()>, MenuCount> commands_{};
    std::deque<std::function<void()>> waiting_;
    // Nonzero while a placed piece lets events run; board clicks are dropped then.
    int32_t moveEventPass_ = 0;
    // From the start of a new game until its board is set up.
    bool settingUp_ = false;
    // The program is ending: no event is taken any more.
    bool ended_ = false;
    // Counts the games begun and every change of the position, so that a move
    // can tell that a new game or another move replaced it meanwhile.
    uint32_t gameNumber_ = 0;
    uint32_t positionNumber_ = 0;
};

} // namespace brindle
