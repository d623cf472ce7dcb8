#include "game.h"

namespace brindle {

namespace {

Control MakeControl(std::string caption, double left, double top, int32_t width, int32_t height)
{
    Control c;
    c.Caption = std::move(caption);
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    return c;
}

ComputerPlayer::Cells emptyBoard()
{
    ComputerPlayer::Cells board;
    for (auto& row : board)
        row.fill(Empty);
    return board;
}

} // namespace

Game::Game(Globals& g, const Ports& ports)
    : globals(g), canvas_(ports.canvas), events_(ports.events), sound_(ports.sound), peer_(ports.peer),
      random_(ports.random), thinker_(ports.thinker), dialogs_(ports.dialogs), kept_(ports.kept), now_(ports.now), today_(ports.today), board_(emptyBoard()), computer_(board_, ports.random), clock_(ui, ports.now)
{
    bindCoreCommands();
    Form_Initialize();
}

void Game::Form_Initialize()
{
    StartState = "INI";
    // The window opens at Hard, so the margin agrees with the level's check mark.
    computer_.SearchMargin = levelOfItem(Menu_Hard)->SearchMargin;
    CellHeight = 225;
    CellWidth = 225;
    ui.Height = 22 * CellHeight + 1000;
    ui.Width = 5070;
    globals.Score[1] = globals.Score[2] = globals.Score[3] = 0;

    // The controls as the window is designed; the layout moves most of them.
    ui.lblHvisTur = MakeControl("", 120, 4950, 225, 225);
    ui.lblPlacer = MakeControl("", 360, 4950, 1215, 375);
    ui.lblTraek = MakeControl("", 2880, 4950, 1695, 375);
    ui.txtTime = MakeControl("Click to continue", 1200, 4920, 2235, 375);
    ui.lblDraw = MakeControl("Five not possible", 7560, 2880, 3900, 2205);
    ui.lblComp = MakeControl("", 4920, 4680, 1815, 615);
    ui.lblMoves = MakeControl("Moves", 5160, 120, 1335, 255);
    ui.txtMoves = MakeControl("", 4920, 360, 1815, 4335);
    ui.imgLeft = MakeControl("", Parked, Parked, 480, 480);
    ui.imgUp = MakeControl("", Parked, Parked, 480, 480);

    ui.Timer1 = {false, 1000};
    ui.Timer2 = {true, 10000};
    ui.Timer3 = {true, 0};
    ui.Timer4 = {false, 0};

    for (MenuId top : TopMenus)
        enable(top, false);
    enable(Menu_Undo, false);
    enable(Menu_RejectUndo, false);
    enable(Menu_Send, false);
    enable(Menu_Continue, false);
    ui.Menu[Menu_Stop].Visible = false;
    check(Menu_PieceNormal, true);
    check(Menu_Sound, true);
    check(Menu_HumanComputer, true);
    check(Menu_Hard, true);
}

void Game::Form_Load()
{
    if (StartState == "INI")
        StartState = "LOAD";
    if (checked(Menu_HumanComputer) && StartState == "RUN")
        ChooseStarter();
    enable(Menu_Undo, false);
    enable(Menu_RejectUndo, false);
    HighMove = 0;
    Replaying = false;
    ui.MousePointer = PointerDefault;
    clock_.start(globals.TimeLimitOn ? globals.TimeLimitSec : 0);
    lastMoveAt_ = now_();
    openedRed_.clear();
    openedBlue_.clear();
    openedDate_.clear();

    RefreshComp();
    ShowCaption();

    computer_.drawWeights();
    GameOver = false;
    wonByLine = false;
    drawn = false;
    ++gameNumber_;
    positionChanged();
    MoveCount = 0;
    ListedMoves = 0;

    ui.lblHvisTur.Visible = true;
    ui.lblHvisTur.BackColor = Red;
    ShowMoveCount();
    MoveMarkers();

    ui.lblDraw.Top = Parked;
    ui.lblDraw.Left = Parked;

    AutodrawBusy = false;
    if (!checked(Menu_Network))
        NextMark = MarkX;
    NumCols = NumRows = BoardSize;
    MaxMoves = CellCount;
    computer_.clearArea();

    DrawGrid();
    board_ = emptyBoard();
    computer_.recount();

    // Fast automatic games at the random level draw straight to the screen.
    if (checked(Menu_ComputerComputer) && checked(Menu_Stupid))
        canvas_.setPersistentDrawing(false);
    // The new board is set up: what waited meanwhile (a Stop, a message) runs
    // now, before the first turn can let the computer move.
    settingUp_ = false;
    if (StartState == "RUN") {
        const uint32_t game = gameNumber_;
        runWaiting();
        if (game == gameNumber_)
            NextTurn(1);
    }
    StartState = "RUN";
}

void Game::Form_Activate()
{
    if (IntroShown)
        return;
    IntroSkip = false;
    clock_.stop();
    ui.txtTime.Caption = "Click to continue";
    events_.ShowIntro();
    ui.txtTime.Caption.clear();

    IntroShown = true;
    PieceInset = 15;
    for (MenuId top : TopMenus)
        enable(top, true);
    ui.lblTraek.Visible = true;
    ui.txtTime.Visible = true;
    clock_.resume();
    lastMoveAt_ = now_();
    keptWaiting_ = kept_ != nullptr && !kept_->read().empty();
    showRecordItems();
    ChooseStarter();
    NextTurn(1);
}

void Game::Form_Unload()
{
    sound_.closeMusic();
}

void Game::windDown()
{
    // A game the computer is playing finds it over and ends without another
    // move; no timer is left to start the next one, and nothing that waited runs.
    ended_ = true;
    stopThinking();
    waiting_.clear();
    GameOver = true;
    for (TimerState* t : {&ui.Timer1, &ui.Timer2, &ui.Timer3, &ui.Timer4})
        t->Enabled = false;
}

void Game::ShowCaption()
{
    if (checked(Menu_Network) && !globals.NetPending)
        ui.Caption = "Brindle.   " + globals.HostName + "(red) - " + globals.PlayerName + "(blue)";
    else
        ui.Caption = "Brindle.";
}

void Game::setNextMark(char mark)
{
    if (mark == MarkX || mark == MarkO)
        NextMark = mark;
}

void Game::setBoard(int32_t row, int32_t col, char value)
{
    char& cell = board_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    computer_.cellChanged(row, col, cell, value);
    cell = value;
}

void Game::Menu_Sound_Click()
{
    check(Menu_Sound, !checked(Menu_Sound));
}

void Game::Menu_Music_Click()
{
    if (!checked(Menu_Music)) {
        check(Menu_Music, true);
        sound_.openMusic("Brin.mid");
        sound_.playMusic(false);
    } else {
        check(Menu_Music, false);
        sound_.closeMusic();
    }
}

void Game::Timer1_Timer()
{
    const bool network = checked(Menu_Network);
    const char winner = clock_.tick(network, NextMark, globals.TimeLimitOn, globals.NetRole == "HOST");
    if (winner != 0)
        DoWinner(winner == 'R' ? "TimeWinnerR" : "TimeWinnerB");
    clock_.show(network);
}

void Game::Timer2_Timer()
{
    // The track is not set to repeat: it is started again once it has ended.
    if (checked(Menu_Music) && sound_.musicStopped())
        sound_.playMusic(true);
}

void Game::Timer4_Timer()
{
    ui.Timer4.Enabled = false;
}

} // namespace brindle
