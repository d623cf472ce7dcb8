// The intro: the banner's pixel letters, the four styles in their order, and
// how a click ends it.

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "view/intro.h"

namespace brindle::testing {
namespace {

bool columnEmpty(const IntroBanner& banner, int column)
{
    return std::all_of(banner.begin(), banner.end(), [column](const auto& row) { return row[static_cast<size_t>(column)] == 0; });
}

// The rows a group of columns lights, and its colours.
struct Span {
    int first = 0, last = 0;   // columns
    int top = 99, bottom = -1; // rows
    std::vector<Colour> colours;
};

std::vector<Span> letters(const IntroBanner& banner)
{
    std::vector<Span> spans;
    for (int c = 0; c < IntroColumns; ++c) {
        if (columnEmpty(banner, c))
            continue;
        if (spans.empty() || spans.back().last != c - 1)
            spans.push_back(Span{c, c, 99, -1, {}});
        Span& s = spans.back();
        s.last = c;
        for (int r = 0; r < IntroRows; ++r) {
            const Colour v = banner[static_cast<size_t>(r)][static_cast<size_t>(c)];
            if (v == 0)
                continue;
            s.top = std::min(s.top, r);
            s.bottom = std::max(s.bottom, r);
            if (std::find(s.colours.begin(), s.colours.end(), v) == s.colours.end())
                s.colours.push_back(v);
        }
    }
    return spans;
}

TEST(IntroBanner, SpellsBrindleDotInAlternatingPixelLettersThatScrollInAndOut)
{
    const IntroBanner banner = makeIntroBanner();
    for (int c = 0; c < 20; ++c)
        EXPECT_TRUE(columnEmpty(banner, c)) << "the first frame is an empty board";
    for (int c = 102; c < IntroColumns; ++c)
        EXPECT_TRUE(columnEmpty(banner, c)) << "the text has scrolled out at the end";

    const std::vector<Span> s = letters(banner);
    ASSERT_EQ(s.size(), 8u) << "B r i n d l e .";
    EXPECT_EQ(s.front().first, 20);
    // Capital rows 3-16, lower case 9-16, "d" and "l" up to row 3.
    const int tops[] = {3, 9, 9, 9, 3, 3, 9, 15};
    for (size_t k = 0; k < s.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(s[k].top, tops[k]);
        EXPECT_EQ(s[k].bottom, 16);
        const int width = s[k].last - s[k].first + 1;
        if (k == 0) {
            EXPECT_LE(width, 8);
        } else if (k < 7) {
            EXPECT_GE(width, 5);
            EXPECT_LE(width, 7);
        }
        if (k + 1 < s.size()) {
            EXPECT_EQ(s[k + 1].first - s[k].last - 1, 2) << "letters two columns apart";
        }
        if (k < 7) {
            EXPECT_EQ(s[k].colours, std::vector<Colour>{k % 2 == 0 ? Red : Blue}) << "red, blue, red...";
        }
    }
    // The i: a dot on row 9, nothing on row 10, the stem from row 11.
    const auto rowOf = [&](int r) -> const auto& { return banner[static_cast<size_t>(r)]; };
    const auto iLit = [&](int r) {
        return std::any_of(rowOf(r).begin() + s[2].first, rowOf(r).begin() + s[2].last + 1, [](Colour v) { return v != 0; });
    };
    EXPECT_TRUE(iLit(9) && !iLit(10) && iLit(11));
    // The period: a 2 x 2 chessboard, red at top-left and bottom-right.
    const auto p = static_cast<size_t>(s[7].first);
    EXPECT_EQ(s[7].last - s[7].first, 1);
    EXPECT_EQ((std::vector<Colour>{rowOf(15)[p], rowOf(15)[p + 1], rowOf(16)[p], rowOf(16)[p + 1]}),
              (std::vector<Colour>{Red, Blue, Blue, Red}));
}

// One frame as the canvas saw it.
struct Frame {
    bool grid = false;
    std::vector<CanvasOp> fills;
};

class IntroRun : public ::testing::Test, protected GameFixture {
protected:
    // Runs the intro; the player clicks after frame number `clickAfter`.
    void run(int clickAfter)
    {
        canvas.ops.clear();
        int shown = 0;
        ShowIntro(game, canvas, random, [&] {
            pointers.push_back(game.ui.MousePointer);
            frames.push_back(cut());
            return ++shown > clickAfter;
        });
        after = cut();
    }
    Frame cut()
    {
        Frame f;
        for (const CanvasOp& op : canvas.ops) {
            if (op.kind == CanvasOp::Line)
                f.grid = true;
            else if (op.kind == CanvasOp::Fill)
                f.fills.push_back(op);
        }
        EXPECT_FALSE(canvas.ops.empty());
        EXPECT_EQ(canvas.ops.front().kind, CanvasOp::Clear) << "every frame starts on a clean board";
        canvas.ops.clear();
        return f;
    }
    // The inset of a frame's squares inside their cells.
    int inset(const Frame& f) const
    {
        const CanvasOp& op = f.fills.front();
        return static_cast<int>(op.x1) % game.CellWidth;
    }

    std::vector<Frame> frames;
    std::vector<int32_t> pointers;
    Frame after;
};

TEST_F(IntroRun, PassesThroughTheFourStylesIn52FramesEachUntilAClick)
{
    run(4 * 52 + 10);
    ASSERT_EQ(frames.size(), 4u * 52 + 11);
    EXPECT_TRUE(frames[0].fills.empty()) << "the text comes in from the right";
    const struct {
        int inset;
        bool grid;
    } styles[] = {{0, false}, {15, true}, {40, false}, {50, true}, {0, false}};
    for (int pass = 0; pass < 5; ++pass) {
        SCOPED_TRACE(pass);
        const Frame& f = frames[static_cast<size_t>(pass * 52 + 10)];
        ASSERT_FALSE(f.fills.empty());
        EXPECT_EQ(inset(f), styles[pass].inset);
        EXPECT_EQ(f.grid, styles[pass].grid);
        const bool redAndBlueOnly = std::all_of(f.fills.begin(), f.fills.end(), [](const CanvasOp& op) { return op.colour == Red || op.colour == Blue; });
        EXPECT_EQ(redAndBlueOnly, pass != 3) << "the sparkle style draws random colours";
    }
    // A pass ends with the banner scrolled out at offset 102, frame 51.
    EXPECT_TRUE(frames[51].fills.empty());
    EXPECT_FALSE(frames[51].grid);
    EXPECT_TRUE(frames[52].grid) << "the next style begins with frame 52";
    // Each sparkle frame draws new colours.
    EXPECT_NE(frames[3 * 52 + 10].fills.front().colour, frames[3 * 52 + 11].fills.front().colour);
    EXPECT_TRUE(std::all_of(pointers.begin(), pointers.end(), [](int32_t p) { return p == PointerHourglass; }));
    EXPECT_TRUE(after.grid && after.fills.empty()) << "then the empty board with its grid";
    EXPECT_EQ(game.ui.MousePointer, PointerDefault);
}

TEST_F(IntroRun, AClickInTheFirstFrameEndsItAfterThatFrame)
{
    run(0);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_TRUE(after.grid && after.fills.empty());
}

TEST_F(IntroRun, EachFrameShowsTheBannerTwoColumnsFurtherOn)
{
    run(30);
    const IntroBanner banner = makeIntroBanner();
    // Frame k shows banner columns 2k to 2k + 19: as many squares as they
    // have lit pixels.
    for (int frame : {10, 20, 30}) {
        int lit = 0;
        for (int r = 0; r < IntroRows; ++r)
            for (int c = 0; c < BoardSize; ++c)
                lit += banner[static_cast<size_t>(r)][static_cast<size_t>(c + 2 * frame)] != 0 ? 1 : 0;
        EXPECT_EQ(frames[static_cast<size_t>(frame)].fills.size(), static_cast<size_t>(lit)) << frame;
    }
    // The B's top-left pixel, banner (3, 20), is in board column 0 at offset 20.
    const CanvasOp& first = frames[10].fills.front();
    EXPECT_EQ(std::vector<double>({first.x1, first.y1, first.x2, first.y2}),
              std::vector<double>({225.0, 225.0 * 4, 450.0, 225.0 * 5}));
}

TEST(IntroStyles, GoZeroFifteenFortyFiftyAndRoundAgain)
{
    EXPECT_EQ(nextIntroInset(0), 15);
    EXPECT_EQ(nextIntroInset(15), 40);
    EXPECT_EQ(nextIntroInset(40), 50);
    EXPECT_EQ(nextIntroInset(50), 0);
}

} // namespace
} // namespace brindle::testing
