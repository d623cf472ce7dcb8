#include "game.h"

#include "net/protocol.h"

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

} // namespace

Game::Game(Globals& g, Canvas& canvas, Host& host, RandomSource& random)
    : globals(g), canvas_(canvas), host_(host), random_(random)
{
    for (auto& row : board_)
        row.fill(Empty);
    windows_.Rebuild(board_, weights_);
    Form_Initialize();
}

void Game::Form_Initialize()
{
    StartState = "INI";
    // The window opens at Hard, so the margin agrees with the level's check mark.
    SearchMargin = 4;
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
        Enable(top, false);
    Enable(Menu_Undo, false);
    Enable(Menu_RejectUndo, false);
    Enable(Menu_Send, false);
    ui.Menu[Menu_Stop].Visible = false;
    Check(Menu_PieceNormal, true);
    Check(Menu_Sound, true);
    Check(Menu_HumanComputer, true);
    Check(Menu_Hard, true);
    // Network play, music and the information windows are not part of this
    // build yet; their items stay greyed rather than do nothing.
    for (MenuId later : {Menu_Network, Menu_Music, Menu_Help, Menu_About})
        Enable(later, false);
}

void Game::Form_Load()
{
    if (StartState == "INI")
        StartState = "LOAD";
    if (Checked(Menu_HumanComputer) && StartState == "RUN")
        ChooseStarter();
    Enable(Menu_Undo, false);
    Enable(Menu_RejectUndo, false);
    HighMove = 0;
    Replaying = false;
    ui.MousePointer = PointerDefault;
    ui.txtTime.Caption.clear();
    ui.Timer1.Enabled = true;

    GameSeconds = 0;
    RedTime = BlueTime = globals.TimeLimitOn ? globals.TimeLimitSec : 0;

    RefreshComp();
    ShowCaption();

    DrawWeights();
    GameOver = false;
    WonByLine = false;
    ++gameNumber_;
    ++positionNumber_;
    MoveCount = 0;
    ListedMoves = 0;

    ui.lblHvisTur.Visible = true;
    ui.lblHvisTur.BackColor = Red;
    ShowMoveCount();
    MoveMarkers();

    ui.lblDraw.Top = Parked;
    ui.lblDraw.Left = Parked;

    AutodrawBusy = false;
    for (auto& row : NearPiece)
        row.fill(false);
    if (!Checked(Menu_Network))
        NextMark = MarkX;

    NumCols = NumRows = BoardSize;
    MaxMoves = CellCount;
    MinRow = MinCol = 19;
    MaxRow = MaxCol = 0;

    DrawGrid();
    for (auto& row : board_)
        row.fill(Empty);
    windows_.Rebuild(board_, weights_);

    // Fast automatic games at the random level draw straight to the screen.
    if (Checked(Menu_ComputerComputer) && Checked(Menu_Stupid))
        canvas_.SetPersistentDrawing(false);
    if (StartState == "RUN")
        NextTurn(1);
    StartState = "RUN";
}

void Game::Form_Activate()
{
    if (IntroShown)
        return;
    IntroSkip = false;
    ui.Timer1.Enabled = false;
    ui.txtTime.Caption = "Click to continue";
    host_.ShowIntro();
    ui.txtTime.Caption.clear();

    IntroShown = true;
    PieceInset = 15;
    for (MenuId top : TopMenus)
        Enable(top, true);
    ui.lblTraek.Visible = true;
    ui.txtTime.Visible = true;
    ui.Timer1.Enabled = true;
    ChooseStarter();
    NextTurn(1);
}

void Game::ShowCaption()
{
    if (Checked(Menu_Network) && !globals.NetPending)
        ui.Caption = "Brindle.   " + globals.HostName + "(red) - " + globals.PlayerName + "(blue)";
    else
        ui.Caption = "Brindle.";
}

void Game::SetBoard(int32_t row, int32_t col, char value)
{
    char& cell = board_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    windows_.Set(row, col, cell, value);
    cell = value;
}

void Game::Refuse()
{
    host_.Beep();
}

void Game::Menu_Sound_Click()
{
    Check(Menu_Sound, !Checked(Menu_Sound));
}

std::string Game::SekToTime(int32_t Seconds)
{
    int32_t h = 0;
    int32_t m = 0;
    int32_t r = Seconds;
    if (r >= 3600) {
        h = r / 3600;
        r -= h * 3600;
    }
    if (r >= 60) {
        m = r / 60;
        r -= m * 60;
    }
    using protocol::TwoDigits;
    return TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(r);
}

void Game::ShowTidSekNet()
{
    ui.txtTime.Caption = "Red " + SekToTime(RedTime) + " - Blue " + SekToTime(BlueTime);
}

} // namespace brindle
