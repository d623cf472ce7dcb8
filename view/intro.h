#pragma once
// The intro before the first game: "Brindle." in pixel letters whose pixels
// are board cells, scrolled from right to left through the board, pass after
// pass in four styles, until the player clicks.

#include <array>
#include <cstdint>
#include <functional>

#include "game/game.h"

namespace brindle {

inline constexpr int IntroRows = BoardSize;
inline constexpr int IntroColumns = 122;
// Each pixel's colour, 0 where the banner is empty.
using IntroBanner = std::array<std::array<Colour, IntroColumns>, IntroRows>;

// The banner: the text starts at column 20, so the first frame is empty, and
// everything after it is empty, so it scrolls out completely.
IntroBanner makeIntroBanner();

// The style of the next pass: insets 0 (solid blocks), 15 (grid), 40 (small
// squares), 50 (grid and random colours), then 0 again.
int32_t nextIntroInset(int32_t inset);

// One frame: the board columns 0-19 show banner columns offset to offset + 19.
void drawIntroFrame(Game& game, Canvas& canvas, RandomSource& random, const IntroBanner& banner, int offset,
                    int32_t inset);

// Runs the intro under the hourglass and leaves the empty board with its
// grid. After each frame `frameShown` shows it, lets events run for a
// moment and says whether the player has clicked.
void ShowIntro(Game& game, Canvas& canvas, RandomSource& random, const std::function<bool()>& frameShown);

} // namespace brindle
