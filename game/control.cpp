// Starting games: the new-game wipe, the player modes, the coin toss for who
// opens, and the automatic play of Computer vs. Computer.

#include "game.h"

namespace brindle {

namespace {

// The wipe sweeps one column at this pace, so that it is seen as a sweep.
constexpr int WipeColumnMilliseconds = 15;

} // namespace

void Game::Menu_New_Click()
{
    // Until the new board is set up, commands and messages wait.
    settingUp_ = true;
    stopThinking();
    if (checked(Menu_ComputerComputer)) {
        ShowMenuStop();
        Stopped = false;
    }
    if (checked(Menu_Network)) {
        for (MenuId item : {Menu_Autodraw, Menu_Undo, Menu_RejectUndo})
            enable(item, false);
        enable(Menu_Send, true);
        // Only the host starts games: it tosses for the side that opens and
        // tells the joiner, whose own new game follows that message.
        if (globals.NetRole != "HOST") {
            enable(Menu_New, false);
        } else {
            random_.Randomize();
            const char first = random_.Rnd() > 0.5f ? MarkX : MarkO;
            peer_.sendNewGame(globals.TimeLimitOn ? globals.TimeLimitSec : 0, first, globals.HostName);
            NextMark = first;
        }
    } else {
        for (MenuId item : {Menu_New, Menu_Autodraw, Menu_Undo, Menu_RejectUndo})
            enable(item, true);
        enable(Menu_Send, false);
    }

    ui.lblDraw.Left = Parked;
    ui.lblDraw.Top = Parked;
    showStatus(false);
    ui.Enabled = false;
    canvas_.setPersistentDrawing(false);

    // A magenta bar one column wide sweeps from left to right and leaves the
    // background behind; the initialisation below blanks every cell.
    computer_.suspendCounts();
    for (int32_t c = 1; c <= 20; ++c) {
        for (int32_t r = 0; r <= 19; ++r) {
            if (c < 20) {
                setBoard(r, c, WipeBar);
                DrawPiece(r, c);
            }
            setBoard(r, c - 1, WipeTrail);
            DrawPiece(r, c - 1);
        }
        events_.Pause(WipeColumnMilliseconds);
    }

    // The window closed during the wipe: no new game begins.
    if (ended_)
        return;
    showStatus(true);
    ui.Enabled = true;
    canvas_.setPersistentDrawing(true);
    ui.lblTraek.Caption.clear();
    ui.txtMoves.Caption.clear();

    Form_Load();
    enable(Menu_Undo, false);
}

void Game::newGameCommand()
{
    // While the peer is to move, its move may already be on the way; in a
    // new game it could land as the peer's first move on this board only.
    // So the host starts a new game on its own turn or after the end, and a
    // press meanwhile beeps, as a click on the board does.
    if (checked(Menu_Network) && !GameOver && ui.MousePointer == PointerHourglass)
        return sound_.beep();
    Menu_New_Click();
}

void Game::showStatus(bool shown)
{
    for (Control* c : {&ui.lblHvisTur, &ui.lblPlacer, &ui.txtTime, &ui.lblTraek, &ui.lblComp})
        c->Visible = shown;
}

void Game::UncheckModes()
{
    for (MenuId mode : {Menu_HumanHuman, Menu_HumanComputer, Menu_ComputerComputer, Menu_Network})
        check(mode, false);
}

void Game::Menu_HumanHuman_Click()
{
    if (checked(Menu_Network))
        peer_.Disconnect(true);
    Starter = Empty;
    UncheckModes();
    check(Menu_HumanHuman, true);
    Menu_New_Click();
}

void Game::Menu_HumanComputer_Click()
{
    if (checked(Menu_Network))
        peer_.Disconnect(true);
    UncheckModes();
    check(Menu_HumanComputer, true);
    Menu_New_Click();
}

void Game::Menu_ComputerComputer_Click()
{
    if (checked(Menu_Network))
        peer_.Disconnect(true);
    Starter = Empty;
    UncheckModes();
    check(Menu_ComputerComputer, true);
    Stopped = false;
    Menu_New_Click();
}

void Game::ChooseStarter()
{
    random_.Randomize();
    const int n = Int(2 * static_cast<double>(random_.Rnd())) + 1;
    Starter = n == 1 ? 'H' : 'C';
    if (checked(Menu_Sound))
        sound_.playWave(n == 1 ? "YouStart.wav" : "CpuStart.wav");
}

void Game::ShowMenuStop()
{
    for (MenuId top : TopMenus)
        ui.Menu[top].Visible = false;
    ui.Menu[Menu_Stop].Visible = true;
}

void Game::ShowMenuNormal()
{
    for (MenuId top : TopMenus)
        ui.Menu[top].Visible = true;
    ui.Menu[Menu_Stop].Visible = false;
}

void Game::Menu_Stop_Click()
{
    ShowMenuNormal();
    // Stop while a hosted game waits for its peer gives up the wait and plays
    // against the computer instead; nobody can join any more.
    if (checked(Menu_Network)) {
        peer_.Close();
        check(Menu_Network, false);
        ui.MousePointer = PointerDefault;
        check(Menu_HumanComputer, true);
        Menu_HumanComputer_Click();
    }
    if (checked(Menu_ComputerComputer)) {
        // The run unwinds by itself: the next computer move sees the game over.
        stopThinking();
        GameOver = true;
        Stopped = true;
        clock_.stop();
        ui.Timer3 = {false, 0};
    }
    canvas_.setPersistentDrawing(true);
}

void Game::Timer3_Timer()
{
    ui.Timer3 = {false, 0};
    Menu_New_Click();
}

void Game::Menu_Autodraw_Click()
{
    if (AutodrawBusy || thinking_)
        return;
    AutodrawBusy = true;
    ComputerMove();
    AutodrawBusy = false;
}

} // namespace brindle
