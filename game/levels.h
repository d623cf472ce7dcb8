#pragma once
// The computer's levels in one table: the menu's caption, the name that
// records and messages use, the word that the command-line programs take,
// and how each one plays. A new level is a row here, and its player.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui_state.h"

namespace brindle {

struct Level {
    MenuId item;         // its item in the Computerlevel menu (Menu_Stupid_Click ... choose it)
    const char* caption; // "&Stupid"
    const char* name;    // "Stupid", as in "Computer (Stupid)"
    const char* word;    // "stupid", as in --level stupid
    int32_t SearchMargin; // how far around the pieces the computer player looks
    bool randomCell;     // any empty cell next to a piece, unscored
    bool looksAhead;     // Master's search plays it wherever a thinker is at hand; Hard elsewhere
};

inline constexpr std::array<Level, 5> Levels = {{
    {Menu_Stupid, "&Stupid", "Stupid", "stupid", 1, true, false},
    {Menu_Easy, "&Easy", "Easy", "easy", 2, false, false},
    {Menu_Normal, "&Medium", "Medium", "medium", 3, false, false},
    {Menu_Hard, "&Hard", "Hard", "hard", 4, false, false},
    {Menu_Master, "Ma&ster", "Master", "master", 4, false, true},
}};

// The row of a --level word or of a menu item; none for anything else.
constexpr const Level* levelOfWord(std::string_view word)
{
    for (const Level& level : Levels)
        if (word == level.word)
            return &level;
    return nullptr;
}
constexpr const Level* levelOfItem(MenuId item)
{
    for (const Level& level : Levels)
        if (item == level.item)
            return &level;
    return nullptr;
}

// The words with `separator` between them: "stupid|easy|medium|hard|master".
inline std::string levelWords(std::string_view separator)
{
    std::string words;
    for (const Level& level : Levels)
        words += (words.empty() ? "" : std::string(separator)) + level.word;
    return words;
}

} // namespace brindle
