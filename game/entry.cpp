// The one way in: menu commands, timer ticks and incoming messages, and the
// rule that keeps them from running in the middle of a move.

#include "game.h"

namespace brindle {

void Game::bindCoreCommands()
{
    const std::pair<MenuId, void (Game::*)()> handlers[] = {
        {Menu_New, &Game::newGameCommand},
        {Menu_Undo, &Game::Menu_Undo_Click},
        {Menu_RejectUndo, &Game::Menu_RejectUndo_Click},
        {Menu_Autodraw, &Game::Menu_Autodraw_Click},
        {Menu_Sound, &Game::Menu_Sound_Click},
        {Menu_Music, &Game::Menu_Music_Click},
        {Menu_HumanHuman, &Game::Menu_HumanHuman_Click},
        {Menu_HumanComputer, &Game::Menu_HumanComputer_Click},
        {Menu_ComputerComputer, &Game::Menu_ComputerComputer_Click},
        {Menu_Stop, &Game::Menu_Stop_Click},
        {Menu_Continue, &Game::Menu_Continue_Click},
        {Menu_Hint, &Game::Menu_Hint_Click},
    };
    for (const auto& [item, handler] : handlers)
        commands_[item] = [this, handler = handler] { (this->*handler)(); };
    // A new game or another mode replaces the game on the board, which is
    // kept first for "Continue last game" when a player has moved in it.
    for (MenuId item : {Menu_New, Menu_HumanHuman, Menu_HumanComputer, Menu_ComputerComputer})
        commands_[item] = [this, play = commands_[item]] { keepBeforeReplacing(), play(); };
    for (const Level& level : Levels)
        commands_[level.item] = [this, item = level.item] { chooseLevel(item); };
}

void Game::bindCommand(MenuId item, std::function<void()> handler)
{
    commands_[item] = std::move(handler);
}

bool Game::available(MenuId item) const
{
    // An item can be chosen when it, its submenu and its top-level menu are
    // all shown and enabled.
    for (MenuId m : {item, SubmenuOf(item), TopMenuOf(item)})
        if (!ui.Menu[m].Enabled || !ui.Menu[m].Visible)
            return false;
    return true;
}

bool Game::command(MenuId item)
{
    if (ended_ || !available(item) || !commands_[item])
        return false;
    // A disabled window takes no input. The one exception is Stop: the only
    // way out of automatic play must not be lost in the short wipe before
    // each game.
    if (!ui.Enabled && item != Menu_Stop)
        return false;
    // A command that waits is judged again when it runs: the move may have
    // greyed it meanwhile.
    if (busy())
        runWhenSettled([this, item] { command(item); });
    else
        commands_[item]();
    return true;
}

void Game::txtMoves_KeyDown(int32_t KeyCode, int32_t /*Shift*/)
{
    // Enter in the move list is a quick way to "Send message".
    constexpr int32_t EnterKey = 13;
    if (KeyCode == EnterKey && checked(Menu_Network))
        command(Menu_Send);
}

void Game::runWhenSettled(std::function<void()> event)
{
    if (ended_)
        return;
    if (busy())
        waiting_.push_back(std::move(event));
    else
        event();
}

void Game::runWaiting()
{
    // Only what is waiting now: a command that has to wait again stays for
    // the next time.
    for (size_t n = waiting_.size(); n > 0 && !waiting_.empty() && !busy(); --n) {
        auto event = std::move(waiting_.front());
        waiting_.pop_front();
        event();
    }
}

void Game::timerFired(int timer)
{
    // Timer4 only ends a wait that may itself run inside a move's events, so
    // it never waits; the others do. A tick whose timer was stopped in the
    // meantime is dropped, and so is a clock second whose game was replaced
    // in the wipe.
    TimerState* const timers[] = {&ui.Timer1, &ui.Timer2, &ui.Timer3, &ui.Timer4};
    void (Game::*const handlers[])() = {&Game::Timer1_Timer, &Game::Timer2_Timer, &Game::Timer3_Timer,
                                        &Game::Timer4_Timer};
    if (timer < 1 || timer > 4)
        return;
    const auto i = static_cast<size_t>(timer - 1);
    auto tick = [this, t = timers[i], handler = handlers[i], game = gameNumber_, timer] {
        if (t->Enabled && t->Interval > 0 && (timer != 1 || game == gameNumber_))
            (this->*handler)();
    };
    if (timer == 4)
        tick();
    else
        runWhenSettled(tick);
}

} // namespace brindle
