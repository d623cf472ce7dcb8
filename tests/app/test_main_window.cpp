// The real window, drawn off screen, driven by mouse and keys as a player
// would: the start-up and the intro, a game to a win and one to a draw.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "support/pass_intro.h"

namespace brindle::testing {
namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kCyan(0, 255, 255), kBlack(0, 0, 0);

class Window : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startGame(window)); }

    Game& game() { return window.game(); }
    template <class W = QLabel>
    W* control(const char* name) { return window.findChild<W*>(name); }
    QColor pixel(double xTwips, double yTwips) const
    {
        return window.board().image().pixelColor(toPixels(xTwips), toPixels(yTwips));
    }
    QColor at(int row, int col) const { return window.board().image().pixelColor(cellCentre(window, row, col)); }
    void resize(QSize size)
    {
        window.resize(size);
        QTest::qWait(30);
    }

    Globals globals;
    MainWindow window{globals};
};

TEST(WindowStartUp, OpensGreyedAt5070By5950AndTheIntroWidensItForTheMoveList)
{
    Globals globals;
    MainWindow window(globals);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Brindle.");
    EXPECT_EQ(window.board().size(), QSize(329, 355)) << "5070 x 5950 twips outside, less the frame";
    for (MenuId top : TopMenus)
        EXPECT_FALSE(window.action(top)->isEnabled());
    Qt::CursorShape duringIntro = Qt::ArrowCursor; // sampled in the intro's first frame
    QTimer::singleShot(0, &window, [&] { duringIntro = window.cursor().shape(); });

    ASSERT_TRUE(passIntro(window));
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull()) << "the icon, once the window is up";
    EXPECT_EQ(duringIntro, Qt::WaitCursor);
    for (MenuId top : TopMenus)
        EXPECT_TRUE(window.action(top)->isEnabled());
    EXPECT_EQ(window.game().ui.Width, 7010);
    auto* moves = window.findChild<QPlainTextEdit*>("txtMoves");
    QTest::keyClick(&window, Qt::Key_F3);
    EXPECT_FALSE(window.board().rect().intersects(moves->geometry())) << "the move list is hidden";
    window.resize(100, 100);
    QTest::qWait(50);
    EXPECT_EQ(window.game().ui.Width, 4600) << "the window's floor";

    auto* time = window.findChild<QLineEdit*>("txtTime");
    ASSERT_TRUE(waitFor([&] { return time->text() == "00:00:01"; }, "the clock's first second", 3000));
    window.game().ui.Timer3 = {true, 0}, window.Render();
    EXPECT_FALSE(window.timer(3).isActive()) << "an interval of 0 never fires";
    bool servedInTheWipe = false; // the wipe's pauses serve events
    QTimer::singleShot(60, &window, [&] { servedInTheWipe = !window.game().ui.Enabled; });
    window.action(Menu_New)->trigger();
    EXPECT_TRUE(servedInTheWipe);
    EXPECT_GT(window.timer(1).remainingTime(), 900) << "a new game starts its first second afresh";
    QTest::qWait(300), window.Render();
    EXPECT_LT(window.timer(1).remainingTime(), 800) << "and only a new start restarts it";
}

TEST_F(Window, PiecesAreDrawnInsetByTheirSizeAndAWinMarksTheFiveAndCountsTheScore)
{
    const Game& g = game();
    QString countDuringTheMove;
    QTimer::singleShot(0, &window, [&] { countDuringTheMove = control("lblTraek")->text(); });
    for (int c = 2; c < 6; ++c) {
        clickCell(window, 8, c);
        clickCell(window, 8, c); // an occupied cell takes nothing
        clickCell(window, 9, c);
    }
    EXPECT_EQ(countDuringTheMove, "Moves: 1") << "the move's own event pass shows it";
    EXPECT_EQ(control("lblTraek")->text(), "Moves: 8");
    EXPECT_EQ(control("lblHvisTur")->palette().color(QPalette::Window), kRed);
    // Pixels just inside the red piece's left edge, per piece size.
    const double row8 = g.CellHeight * 9.5;
    const struct { Qt::Key key; int x; QColor colour; } sizes[] = {
        {Qt::Key_C, g.CellWidth * 3, kRed}, {Qt::Key_A, g.CellWidth * 3 + 60, kCyan}, {Qt::Key_A, g.CellWidth * 3 + 80, kRed},
        {Qt::Key_B, g.CellWidth * 3, kBlack}, {Qt::Key_B, g.CellWidth * 3 + 15, kRed},
    };
    for (const auto& s : sizes) {
        QTest::keyClick(&window, s.key, Qt::ControlModifier);
        EXPECT_EQ(pixel(s.x, row8), s.colour) << "at " << s.x;
    }

    clickCell(window, 8, 6);
    for (int c = 2; c <= 6; ++c)
        EXPECT_EQ(at(8, c), kCyan) << "the winning pieces get a hole, column " << c;
    EXPECT_EQ(at(9, 3), kBlue);
    EXPECT_EQ(control("lblPlacer")->text(), "'s a winner!!!");
    EXPECT_EQ(control("lblComp")->text(), "Red: 1 - Blue: 0\nDraw: 0");
    clickCell(window, 0, 0);
    EXPECT_EQ(at(0, 0), kCyan) << "the game is over";
    resize(window.size() + QSize(90, 45));
    EXPECT_EQ(at(8, 4), kCyan) << "drawn anew after a resize";
    EXPECT_EQ(control("imgLeft")->geometry().topLeft(),
              QPoint(toPixels(21 * g.CellWidth + 20), toPixels(9.5 * g.CellHeight - 80)));

    // The status row's texts, as wide as they get, never meet.
    const QFontMetrics metrics(window.board().font());
    for (MenuId size : {Menu_PieceSmall, Menu_PieceFull}) {
        window.action(size)->trigger();
        for (const QSize& board : {QSize(700, 500), QSize(100, 100)}) {
            resize(board);
            const QRect time = control<QLineEdit>("txtTime")->geometry();
            SCOPED_TRACE(g.ui.Width);
            EXPECT_LT(control("lblHvisTur")->geometry().right(), control("lblPlacer")->geometry().left());
            EXPECT_LT(control("lblPlacer")->geometry().left() + metrics.horizontalAdvance("'s a winner!!!"), time.left());
            EXPECT_LT(time.right(), control("lblTraek")->geometry().right() - metrics.horizontalAdvance("Moves: 400"));
            EXPECT_GE(time.width(), metrics.horizontalAdvance("00:00:00")) << "the clock still fits";
        }
    }
}

TEST_F(Window, ADrawShowsTheBannerUntilUndo)
{
    clickCell(window, 0, 0);
    // Pairs of each colour, shifted by two a row: no five is left open.
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            if (r != 10 || c != 10)
                game().setBoard(r, c, (c + 2 * r) % 4 < 2 ? MarkX : MarkO);
    clickCell(window, 10, 10);
    EXPECT_EQ(control("lblPlacer")->text(), "It's a draw");
    EXPECT_FALSE(control("lblHvisTur")->isVisible());
    QLabel* banner = control("lblDraw");
    EXPECT_EQ(banner->text(), "Five not possible");
    EXPECT_EQ(banner->grab().toImage().pixelColor(2, 2), window.palette().color(QPalette::Base)) << "a solid banner";
    resize(window.size() + QSize(60, 0));
    EXPECT_EQ(banner->geometry().center().x(), toPixels(11 * game().CellWidth) - 1) << "centred again";
    QTest::keyClick(&window, Qt::Key_Delete);
    EXPECT_FALSE(window.board().rect().intersects(banner->geometry()));
}

} // namespace
} // namespace brindle::testing
