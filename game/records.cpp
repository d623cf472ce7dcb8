// The game as a record: saving it, opening one, and keeping an unfinished
// game from one run to the next.

#include <charconv>

#include "game.h"

namespace brindle {

namespace {

// The modes and levels as a kept game names them, with their menu items.
constexpr std::pair<const char*, MenuId> KeptModes[] = {
    {"HumanHuman", Menu_HumanHuman},
    {"HumanComputer", Menu_HumanComputer},
    {"ComputerComputer", Menu_ComputerComputer},
};
// The other engine, as a kept game names it beside the levels' own names.
constexpr const char* OtherEngineName = "Other engine";

} // namespace

std::string Game::playerName(bool red) const
{
    if (checked(Menu_Network))
        return red ? globals.HostName : globals.PlayerName;
    // The human plays red when it opened.
    const bool computer = checked(Menu_ComputerComputer) ||
                          (checked(Menu_HumanComputer) && Starter == (red ? 'C' : 'H'));
    if (!computer)
        return "Human";
    if (const Level* level = currentLevel())
        return std::string("Computer (") + level->name + ")";
    if (checked(Menu_OtherEngine) && thinker_ != nullptr)
        return "Computer (" + thinker_->name(true) + ")";
    return "Computer";
}

record::Record Game::record(std::string date) const
{
    record::Record r;
    for (int32_t n = 1; n <= MoveCount; ++n) {
        const auto& move = History[static_cast<size_t>(n)];
        r.moves.push_back({move[1], move[2], moveMs[static_cast<size_t>(n)], move[3]});
    }
    if (MoveCount > 0)
        r.first = Board(History[1][1], History[1][2]);
    // An opened game was played by the players its record names, when it names them.
    r.red = openedRed_.empty() ? playerName(true) : openedRed_;
    r.blue = openedBlue_.empty() ? playerName(false) : openedBlue_;
    if (wonByLine) {
        r.result = LastMark == MarkX ? record::Result::RedWins : record::Result::BlueWins;
    } else if (drawn) {
        r.result = record::Result::Draw;
    } else if (GameOver && ui.lblPlacer.Caption == "'s a winner!!!") {
        // Won without a line: a clock ran out.
        r.result = ui.lblHvisTur.BackColor == Blue ? record::Result::BlueWins : record::Result::RedWins;
        r.onTime = true;
    }
    r.date = openedDate_.empty() ? std::move(date) : openedDate_;
    if (checked(Menu_Network) && globals.TimeLimitOn)
        r.timeLimitSec = globals.TimeLimitSec;
    return r;
}

std::string Game::openRecord(const record::Record& game)
{
    if (checked(Menu_Network))
        return "A game record cannot be opened during a network game.";
    if (const auto error = record::checkMoves(game); std::holds_alternative<record::Error>(error))
        return "Line " + std::to_string(std::get<record::Error>(error).line) + ": " + std::get<record::Error>(error).message;
    loadMoves(game, 0);
    return {};
}

void Game::loadMoves(const record::Record& game, int32_t clockSeconds)
{
    stopThinking();
    ui.Timer3 = {false, 0};
    // A fresh board, without the toss and without a first turn.
    StartState = "LOAD";
    Form_Load();

    openedRed_ = game.red;
    openedBlue_ = game.blue;
    openedDate_ = game.date;
    NextMark = game.first;
    for (const record::Move& m : game.moves) {
        LastRow = m.row;
        LastCol = m.col;
        LastMark = NextMark;
        setBoard(m.row, m.col, NextMark);
        NextMark = otherMark(NextMark);
        ++MoveCount;
        History[static_cast<size_t>(MoveCount)] = {0, m.row, m.col, m.score};
        moveMs[static_cast<size_t>(MoveCount)] = m.ms;
        computer_.notePiece(m.row, m.col);
    }
    HighMove = MoveCount;
    positionChanged();
    clock_.GameSeconds = clockSeconds;
    clock_.stop();
    clock_.resume();
    clock_.show(false);
    lastMoveAt_ = now_();

    // How it ended, shown as it was when it ended; the score stays.
    const bool fiveLeft = ErFemMulig() || (checked(Menu_ComputerComputer) && checked(Menu_Stupid));
    if (MoveCount > 0 && findFive()) {
        wonByLine = true;
        showWinner(LastMark);
    } else if (MoveCount == MaxMoves || !fiveLeft || game.result == record::Result::Draw) {
        showDraw();
    } else if (game.result != record::Result::None) {
        showWinner(game.result == record::Result::RedWins ? MarkX : MarkO);
    }
    RedrawPieces();
    ShowMoveCount();
    ShowMoveList(1);
    MoveMarkers();
    if (((MoveCount == 1 && checked(Menu_HumanHuman)) || MoveCount > 1) && !checked(Menu_ComputerComputer))
        enable(Menu_Undo, true);
    if (GameOver)
        return;
    // The side to move plays on: the computer at once when it is its side,
    // and in Computer vs. Computer game after game as from New game.
    if (checked(Menu_ComputerComputer)) {
        ShowMenuStop();
        Stopped = false;
    }
    NextTurn(1);
}

void Game::keepUnfinished()
{
    if (kept_ == nullptr || checked(Menu_Network) || MoveCount == 0 || wonByLine || drawn)
        return;
    record::Record r = record(today_());
    for (const auto& [name, item] : KeptModes)
        if (checked(item))
            r.kept["BRMODE"] = name;
    if (const Level* level = currentLevel())
        r.kept["BRLEVEL"] = level->name;
    else if (checked(Menu_OtherEngine))
        r.kept["BRLEVEL"] = OtherEngineName;
    if (Starter == 'H' || Starter == 'C')
        r.kept["BRSTARTER"] = std::string(1, Starter);
    r.kept["BRCLOCK"] = std::to_string(clock_.GameSeconds);
    const std::string failure = kept_->write(record::toSgf(r));
    if (failure.empty()) {
        keptWaiting_ = true;
        showRecordItems();
    } else if (dialogs_ != nullptr)
        dialogs_->messageBox("The unfinished game could not be kept for next time. " + failure, "Brindle",
                             Dialogs::Icon::Information);
}

void Game::keepBeforeReplacing()
{
    const bool computerOpened = checked(Menu_HumanComputer) && Starter == 'C';
    if (!checked(Menu_ComputerComputer) && MoveCount > (computerOpened ? 1 : 0))
        keepUnfinished();
}

void Game::Menu_Continue_Click()
{
    if (!keptWaiting_ || checked(Menu_Network))
        return;
    const std::string text = kept_->read();
    dropKept();
    const record::ReadResult read = record::readSgf(text);
    if (const auto* error = std::get_if<record::Error>(&read)) {
        if (dialogs_ != nullptr)
            dialogs_->messageBox("The last game could not be continued: line " + std::to_string(error->line) + ": " +
                                     error->message,
                                 "Brindle", Dialogs::Icon::Information);
        return;
    }
    const record::Record& game = std::get<record::Record>(read);
    const auto value = [&game](const char* name) {
        const auto it = game.kept.find(name);
        return it == game.kept.end() ? std::string() : it->second;
    };
    MenuId mode = Menu_HumanComputer;
    for (const auto& [name, item] : KeptModes)
        if (value("BRMODE") == name)
            mode = item;
    UncheckModes();
    check(mode, true);
    // The level as its menu item sets it. The other engine is not running
    // yet after a restart: Hard stands in.
    const std::string levelName = value("BRLEVEL");
    for (const Level& level : Levels)
        if (levelName == level.name)
            chooseLevel(level.item);
    for (const Level& level : StrengthLevels)
        if (levelName == level.name)
            chooseStrength(level.strength);
    if (levelName == OtherEngineName)
        chooseLevel(Menu_Hard);
    const std::string starter = value("BRSTARTER");
    Starter = starter == "H" || starter == "C" ? starter[0] : Empty;
    if (mode == Menu_HumanComputer && Starter == Empty)
        Starter = 'H';
    const std::string clock = value("BRCLOCK");
    int32_t seconds = 0;
    const auto [end, error] = std::from_chars(clock.data(), clock.data() + clock.size(), seconds);
    loadMoves(game, error == std::errc() && end == clock.data() + clock.size() && seconds > 0 ? seconds : 0);
}

void Game::dropKeptAtTheEnd()
{
    // The player has played on to an end; a game the computer played against
    // itself is not theirs, and leaves the kept one for them.
    if (!checked(Menu_ComputerComputer))
        dropKept();
}

void Game::dropKept()
{
    if (!keptWaiting_)
        return;
    keptWaiting_ = false;
    kept_->drop();
    showRecordItems();
}

void Game::showRecordItems()
{
    const bool network = checked(Menu_Network);
    enable(Menu_Open, !network);
    enable(Menu_Continue, !network && keptWaiting_);
}

} // namespace brindle
