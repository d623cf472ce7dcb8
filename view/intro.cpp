#include "intro.h"

#include <string_view>

namespace brindle {

namespace {

// A glyph drawn with one-pixel strokes, '#' lit, from its top row down.
struct Glyph {
    int top; // the banner row of its first line
    std::initializer_list<std::string_view> lines;
};

// Capitals stand on rows 3 to 16, lower case on rows 9 to 16; "d" and "l"
// reach up to row 3 like capitals.
const Glyph B{3, {"######.", "#.....#", "#.....#", "#.....#", "#.....#", "#....#.", "#####..", "#....#.",
                  "#.....#", "#.....#", "#.....#", "#.....#", "#.....#", "######."}};
const Glyph r{9, {"#.##.", "##..#", "#....", "#....", "#....", "#....", "#....", "#...."}};
const Glyph i{9, {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", "..#..", "#####"}};
const Glyph n{9, {"#.###.", "##...#", "#....#", "#....#", "#....#", "#....#", "#....#", "#....#"}};
const Glyph d{3, {".....#", ".....#", ".....#", ".....#", ".....#", ".....#", ".###.#", "#...##", "#....#",
                  "#....#", "#....#", "#....#", "#...##", ".###.#"}};
const Glyph l{3, {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..",
                  "..#..", "..#..", "..#..", "#####"}};
const Glyph e{9, {".####.", "#....#", "#....#", "######", "#.....", "#.....", "#....#", ".####."}};

constexpr int FirstColumn = 20;
constexpr int LetterGap = 2;

// Puts `glyph` at `column` in `colour`; returns the column after it.
int put(IntroBanner& banner, const Glyph& glyph, int column, Colour colour)
{
    int row = glyph.top;
    int width = 0;
    for (std::string_view line : glyph.lines) {
        for (size_t x = 0; x < line.size(); ++x)
            if (line[x] == '#')
                banner[static_cast<size_t>(row)][static_cast<size_t>(column) + x] = colour;
        width = static_cast<int>(line.size());
        ++row;
    }
    return column + width;
}

} // namespace

IntroBanner makeIntroBanner()
{
    IntroBanner banner{};
    int column = FirstColumn;
    Colour colour = Red;
    for (const Glyph* glyph : {&B, &r, &i, &n, &d, &l, &e}) {
        column = put(banner, *glyph, column, colour) + LetterGap;
        colour = colour == Red ? Blue : Red;
    }
    // The period: a little chessboard, red at its top-left.
    const auto c = static_cast<size_t>(column);
    banner[15][c] = banner[16][c + 1] = Red;
    banner[15][c + 1] = banner[16][c] = Blue;
    return banner;
}

int32_t nextIntroInset(int32_t inset)
{
    switch (inset) {
    case 0:
        return 15;
    case 15:
        return 40;
    case 40:
        return 50;
    default:
        return 0;
    }
}

void drawIntroFrame(Game& game, Canvas& canvas, RandomSource& random, const IntroBanner& banner, int offset,
                    int32_t inset)
{
    if (inset == 15 || inset == 50)
        game.DrawGrid();
    else
        canvas.clear();
    const int32_t w = game.CellWidth;
    const int32_t h = game.CellHeight;
    for (int32_t c = 0; c < BoardSize; ++c) {
        for (int32_t row = 0; row < BoardSize; ++row) {
            Colour v = banner[static_cast<size_t>(row)][static_cast<size_t>(c + offset)];
            if (v <= 0)
                continue;
            if (inset == 50) {
                // Red, green and blue drawn in that order, anew for every pixel.
                const int32_t red = CLng(random.Rnd() * 255);
                const int32_t green = CLng(random.Rnd() * 255);
                const int32_t blue = CLng(random.Rnd() * 255);
                v = red | (green << 8) | (blue << 16);
            }
            canvas.fillBox(w * (c + 1) + inset, h * (row + 1) + inset, w * (c + 2) - inset, h * (row + 2) - inset, v);
        }
    }
}

void ShowIntro(Game& game, Canvas& canvas, RandomSource& random, const std::function<bool()>& frameShown)
{
    game.ui.MousePointer = PointerHourglass;
    const IntroBanner banner = makeIntroBanner();
    int32_t inset = 0;
    bool skip = false;
    while (!skip) {
        for (int offset = 0; offset <= IntroColumns - BoardSize && !skip; offset += 2) {
            drawIntroFrame(game, canvas, random, banner, offset, inset);
            skip = frameShown();
        }
        inset = nextIntroInset(inset);
    }
    game.DrawGrid();
    game.ui.MousePointer = PointerDefault;
}

} // namespace brindle
