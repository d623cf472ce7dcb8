#pragma once
// Basic vocabulary of the game: board size, cell marks and the colour words.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace brindle {

// Colours are stored as the platform colour word &H00BBGGRR.
using Colour = int32_t;
inline constexpr Colour Red = 255;               // RGB(255, 0, 0), the "X" side
inline constexpr Colour Blue = 16711680;         // RGB(0, 0, 255), the "O" side
inline constexpr Colour Magenta = 0x00FF00FF;    // the bar of the new-game wipe
inline constexpr Colour BackColour = 0x00FFFF00; // cyan, the window's background
inline constexpr Colour Black = 0x00000000;      // grid lines and the arrows
inline constexpr Colour White = 0x00FFFFFF;      // the keyboard cursor's outer ring

inline constexpr int32_t BoardSize = 20;
inline constexpr int32_t CellCount = BoardSize * BoardSize;

// Cell values. A cell is occupied when its value compares greater than Empty.
inline constexpr char Empty = ' ';
inline constexpr char MarkX = 'X';     // red
inline constexpr char MarkO = 'O';     // blue
inline constexpr char WipeBar = '3';   // magenta, during the new-game wipe only
inline constexpr char WipeTrail = '4'; // erased, during the new-game wipe only

inline constexpr char otherMark(char mark) { return mark == MarkX ? MarkO : MarkX; }
inline constexpr bool onBoard(int32_t row, int32_t col)
{
    return row >= 0 && row < BoardSize && col >= 0 && col < BoardSize;
}

// {row, column}.
using Cell = std::array<int32_t, 2>;

// The one rule of winning: the line of five or more of one side's stones
// through the stone at (row, col), along a row, a column, down-right or
// up-right, looked at in that order. Gives the first five cells of the line
// that hold the stone, counted from the line's start; `own(row, col)` says
// whether a cell on the board holds one of that side's stones.
template <typename Own>
constexpr std::optional<std::array<Cell, 5>> lineOfFive(int32_t row, int32_t col, const Own& own)
{
    constexpr int32_t steps[4][2] = {{0, 1}, {1, 0}, {1, 1}, {-1, 1}};
    for (const auto& d : steps) {
        int32_t run[2] = {0, 0}; // own stones before and after the stone
        for (int32_t side = 0; side < 2; ++side) {
            const int32_t sign = side == 0 ? -1 : 1;
            for (int32_t r = row + sign * d[0], c = col + sign * d[1]; onBoard(r, c) && own(r, c);
                 r += sign * d[0], c += sign * d[1])
                ++run[side];
        }
        if (run[0] + run[1] + 1 < 5)
            continue;
        std::array<Cell, 5> five{};
        const int32_t first = -std::min(run[0], 4);
        for (int32_t k = 0; k < 5; ++k)
            five[static_cast<size_t>(k)] = {row + d[0] * (first + k), col + d[1] * (first + k)};
        return five;
    }
    return std::nullopt;
}
template <typename Own>
constexpr bool inLineOfFive(int32_t row, int32_t col, const Own& own)
{
    return lineOfFive(row, col, own).has_value();
}

// Nearest whole number, a half going to the even neighbour.
inline int32_t CLng(double value) { return static_cast<int32_t>(std::nearbyint(value)); }
// The next whole number down.
inline int32_t Int(double value) { return static_cast<int32_t>(std::floor(value)); }

// Mouse pointer codes of the main window.
inline constexpr int32_t PointerDefault = 0;
inline constexpr int32_t PointerHourglass = 11;

// Where a control is moved to be out of sight.
inline constexpr double Parked = 20000;

} // namespace brindle
