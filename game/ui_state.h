#pragma once
// What the main window shows, held by the core so that the rules can read it
// and the window can render it: menu items, the labels and boxes on the board,
// the timers, the pointer and whether the window takes input.

#include <array>
#include <cstdint>
#include <string>

#include "types.h"

namespace brindle {

// In menu-tree order: each top-level menu comes right before its items.
enum MenuId : int {
    Menu_Game,
    Menu_New,
    Menu_Save,
    Menu_Open,
    Menu_Continue,
    Menu_Undo,
    Menu_RejectUndo,
    Menu_Hint,
    Menu_Analysis,
    Menu_Review,
    Menu_Details,
    Menu_Piece,
    Menu_PieceSmall,
    Menu_PieceNormal,
    Menu_PieceFull,
    Menu_Autodraw,
    Menu_Sound,
    Menu_Music,
    Menu_exit,
    Menu_Players,
    Menu_HumanHuman,
    Menu_HumanComputer,
    Menu_ComputerComputer,
    Menu_Network,
    Menu_Send,
    Menu_Computer,
    Menu_Stupid,
    Menu_Easy,
    Menu_Normal,
    Menu_Hard,
    Menu_Master,
    Menu_Strength,
    Menu_OtherEngine,
    Menu_Helpmenu,
    Menu_Help,
    Menu_About,
    Menu_Stop,
    MenuCount
};

// The four menus that the automatic play hides and the intro greys.
inline constexpr std::array<MenuId, 4> TopMenus = {Menu_Game, Menu_Players, Menu_Computer, Menu_Helpmenu};

// The top-level menu an item belongs to (itself for a top-level menu).
constexpr MenuId TopMenuOf(MenuId item)
{
    if (item >= Menu_Stop)
        return Menu_Stop;
    if (item >= Menu_Helpmenu)
        return Menu_Helpmenu;
    if (item >= Menu_Computer)
        return Menu_Computer;
    if (item >= Menu_Players)
        return Menu_Players;
    return Menu_Game;
}

// The submenu an item sits in (itself outside a submenu).
constexpr MenuId SubmenuOf(MenuId item)
{
    return item >= Menu_PieceSmall && item <= Menu_PieceFull ? Menu_Piece : item;
}

struct MenuItem {
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
};

// A label, text box or image on the main window. Positions are twips and may
// hold a half (the draw banner is centred in single precision).
struct Control {
    std::string Caption; // the caption of a label, the text of a text box
    double Left = 0;
    double Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Visible = true;
    Colour BackColor = BackColour;
    int32_t BackStyle = 0;   // 1: opaque
    int32_t BorderStyle = 0; // 1: thin frame
};

struct TimerState {
    bool Enabled = false;
    int32_t Interval = 0; // milliseconds; 0 never fires
    // Counts the times the timer was started afresh: the window then restarts
    // it, so that its first tick comes one whole interval later.
    uint32_t Restarts = 0;
};

// The widest text each control of the status row can show, in twips, as the
// window measures it in its own font; 0 until it has.
struct StatusTextWidths {
    int32_t placer = 0; // "'s a winner!!!" and the other turn texts
    int32_t time = 0;   // the clock, with its box's own margins
    int32_t moves = 0;  // "Moves: 400"
};

// The cell cursor that the keyboard moves: shown once a key is used, hidden by a click.
struct CellCursor {
    bool Shown = false;
    int32_t Row = BoardSize / 2 - 1;
    int32_t Col = BoardSize / 2 - 1;
};

// The move the computer suggests, marked on the board until the next move.
struct HintMark {
    bool Shown = false;
    int32_t Row = 0;
    int32_t Col = 0;
    // A forced win, in words ("Red wins in 4 moves"); empty when none is certain.
    std::string verdict;
};

struct Ui {
    std::array<MenuItem, MenuCount> Menu{};

    Control lblHvisTur;
    Control lblPlacer;
    Control lblTraek;
    Control txtTime;
    Control lblDraw;
    Control lblComp;
    Control lblMoves;
    Control txtMoves;
    Control imgLeft;
    Control imgUp;

    TimerState Timer1; // the game clock
    TimerState Timer2; // the music restart poll
    TimerState Timer3; // the pause between automatic games
    TimerState Timer4; // the wait while leaving a network game

    bool Enabled = true; // the window takes mouse and menu input
    int32_t MousePointer = PointerDefault;
    std::string Caption = "Brindle";
    int32_t Width = 0;  // outer size of the window, twips
    int32_t Height = 0;
    StatusTextWidths statusText;

    CellCursor cursor;
    HintMark hint;
    // The last thing said to a screen reader ("Blue plays row 3, column 12"),
    // and how many have been said, so that the same words twice are told twice.
    std::string spoken;
    uint32_t spokenCount = 0;
};

} // namespace brindle
