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
    int32_t strength = 0; // a step of Strength... (1 to 8, weakest first); 0 for the levels above
};

inline constexpr std::array<Level, 5> Levels = {{
    {Menu_Stupid, "&Stupid", "Stupid", "stupid", 1, true, false},
    {Menu_Easy, "&Easy", "Easy", "easy", 2, false, false},
    {Menu_Normal, "&Medium", "Medium", "medium", 3, false, false},
    {Menu_Hard, "&Hard", "Hard", "hard", 4, false, false},
    {Menu_Master, "Ma&ster", "Master", "master", 4, false, true},
}};

// The steps of Strength..., weakest first, between Hard and Master; the last
// plays as Master does. All share the one menu item; engine/strength.h says
// how each plays.
inline constexpr int32_t DefaultStrength = 4;
inline constexpr std::array<Level, 8> StrengthLevels = {{
    {Menu_Strength, "S&trength...", "Strength 1", "strength1", 4, false, true, 1},
    {Menu_Strength, "S&trength...", "Strength 2", "strength2", 4, false, true, 2},
    {Menu_Strength, "S&trength...", "Strength 3", "strength3", 4, false, true, 3},
    {Menu_Strength, "S&trength...", "Strength 4", "strength4", 4, false, true, 4},
    {Menu_Strength, "S&trength...", "Strength 5", "strength5", 4, false, true, 5},
    {Menu_Strength, "S&trength...", "Strength 6", "strength6", 4, false, true, 6},
    {Menu_Strength, "S&trength...", "Strength 7", "strength7", 4, false, true, 7},
    {Menu_Strength, "S&trength...", "Strength 8", "strength8", 4, false, true, 8},
}};
// The row of step `strength`, clamped to the steps there are.
constexpr const Level& strengthLevel(int32_t strength)
{
    return StrengthLevels[static_cast<size_t>(strength < 1 ? 0 : strength > 8 ? 7 : strength - 1)];
}

// The row of a --level word or of a menu item; none for anything else.
constexpr const Level* levelOfWord(std::string_view word)
{
    for (const Level& level : Levels)
        if (word == level.word)
            return &level;
    for (const Level& level : StrengthLevels)
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

// The words with `separator` between them: "stupid|easy|medium|hard|master|strength1..strength8".
inline std::string levelWords(std::string_view separator)
{
    std::string words;
    for (const Level& level : Levels)
        words += (words.empty() ? "" : std::string(separator)) + level.word;
    return words + std::string(separator) + StrengthLevels.front().word + ".." + StrengthLevels.back().word;
}

} // namespace brindle
