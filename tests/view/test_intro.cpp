// The intro: the banner scrolling through the four styles in their order, and how a click ends it.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "view/intro.h"

namespace brindle::testing {
namespace {

struct IntroRun : ::testing::Test, GameFixture {
    struct Frame { bool grid = false; std::vector<CanvasOp> fills; };
    // Runs the intro; the player clicks after frame number `clickAfter`.
    void run(int clickAfter)
    {
        canvas.ops.clear();
        int shown = 0;
        ShowIntro(game, canvas, random, [&] {
            EXPECT_EQ(game.ui.MousePointer, PointerHourglass);
            frames.push_back(cut());
            return ++shown > clickAfter;
        });
        after = cut();
    }
    Frame cut() // what the canvas saw since the last cut
    {
        Frame f;
        EXPECT_TRUE(!canvas.ops.empty() && canvas.ops.front().kind == CanvasOp::Clear) << "every frame starts on a clean board";
        for (const CanvasOp& op : canvas.ops)
            op.kind == CanvasOp::Line ? void(f.grid = true) : op.kind == CanvasOp::Fill ? f.fills.push_back(op) : void();
        canvas.ops.clear();
        return f;
    }
    std::vector<Frame> frames;
    Frame after;
};

TEST_F(IntroRun, ScrollsTheBannerTwoColumnsAFrameThroughTheFourStylesOf52FramesUntilAClick)
{
    run(4 * 52 + 10);
    ASSERT_EQ(frames.size(), 4u * 52 + 11);
    size_t lit = 0; // frame k shows banner columns 2k to 2k + 19
    for (const auto& row : makeIntroBanner())
        lit += size_t(std::count_if(row.begin() + 20, row.begin() + 40, [](Colour v) { return v != 0; }));
    // The inset of the squares in their cells and the grid, style by style, in frame 10 of each pass.
    const struct { int inset; bool grid; } styles[] = {{0, false}, {15, true}, {40, false}, {50, true}, {0, false}};
    for (int pass = 0; pass < 5; ++pass) {
        SCOPED_TRACE(pass);
        const Frame& f = frames[size_t(pass * 52 + 10)];
        ASSERT_EQ(f.fills.size(), lit);
        EXPECT_EQ(std::pair(static_cast<int>(f.fills.front().x1) % game.CellWidth, f.grid), std::pair(styles[pass].inset, styles[pass].grid));
        const bool redAndBlueOnly = std::all_of(f.fills.begin(), f.fills.end(), [](const CanvasOp& op) { return op.colour == Red || op.colour == Blue; });
        EXPECT_EQ(redAndBlueOnly, pass != 3) << "the sparkle style draws random colours";
    }
    const CanvasOp& b = frames[10].fills.front(); // the B's top-left pixel, banner (3, 20), in board column 0
    EXPECT_EQ((std::vector<double>{b.x1, b.y1, b.x2, b.y2}), (std::vector<double>{225.0, 225.0 * 4, 450.0, 225.0 * 5}));
    EXPECT_TRUE(frames[0].fills.empty() && frames[51].fills.empty() && !frames[51].grid && frames[52].grid);
    EXPECT_NE(frames[3 * 52 + 10].fills.front().colour, frames[3 * 52 + 11].fills.front().colour);
    EXPECT_TRUE(after.grid && after.fills.empty() && game.ui.MousePointer == PointerDefault) << "then the empty board";
    frames.clear(), run(0);
    EXPECT_TRUE(frames.size() == 1u && after.grid && after.fills.empty()) << "a click in the first frame ends it";
    GameFixture early;
    early.game.Form_Load(), early.clickCell(5, 5);
    EXPECT_TRUE(early.s().IntroSkip && early.game.Board(5, 5) == Empty) << "a click before the intro ends only the intro";
    early.random.push({0.25f}), early.game.Form_Activate();
    EXPECT_TRUE(early.events.intros == 1 && !early.s().IntroSkip) << "a click before the window showed skips nothing";
    const Ui& ui = early.game.ui; // then the first turn is shown
    EXPECT_TRUE(ui.txtTime.Visible && ui.lblTraek.Visible && ui.lblHvisTur.BackStyle == 1 && ui.lblHvisTur.BorderStyle == 1);
}

} // namespace
} // namespace brindle::testing
