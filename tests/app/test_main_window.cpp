#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QActionGroup>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "support/pass_intro.h"
#include "app/board_view.h"

namespace brindle::testing {

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);
const QColor kBlack(0, 0, 0);

} // namespace

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(passIntro(window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    Game& game() { return window.game(); }
    const Game& game() const { return window.game(); }
    QString text(const char* name) const { return window.findChild<QLabel*>(name)->text(); }
    QRect geometry(const char* name) const { return window.findChild<QWidget*>(name)->geometry(); }
    QColor pixel(double xTwips, double yTwips) const
    {
        return window.board().image().pixelColor(toPixels(xTwips), toPixels(yTwips));
    }
    QColor cellCentre(int row, int col) const
    {
        return pixel(game().CellWidth * (col + 1.5), game().CellHeight * (row + 1.5));
    }
    void clickCell(int row, int col)
    {
        const QPoint at(toPixels(game().CellWidth * (col + 1.5)), toPixels(game().CellHeight * (row + 1.5)));
        QTest::mouseClick(&window.board(), Qt::LeftButton, {}, at);
    }
    void humanVsHuman()
    {
        QTest::keyClick(&window, Qt::Key_F1, Qt::ControlModifier);
        ASSERT_TRUE(game().checked(Menu_HumanHuman));
    }

    Globals globals;
    MainWindow window{globals};
};

TEST(WindowStartUp, OpensAt5070By5950WithItsMenusGreyedUntilTheFirstActivation)
{
    Globals globals;
    MainWindow window(globals);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Brindle.");
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull()) << "the desktop's icon";
    EXPECT_EQ(window.board().size(), QSize(329, 355)) << "5070 x 5950 twips outside, less the frame";
    EXPECT_EQ(window.game().CellWidth, 225);
    EXPECT_EQ(window.game().CellHeight, 225);
    for (MenuId top : {Menu_Game, Menu_Players, Menu_Computer, Menu_Helpmenu})
        EXPECT_FALSE(window.action(top)->isEnabled());
    EXPECT_FALSE(window.action(Menu_Stop)->isVisible());
    EXPECT_EQ(window.findChild<QWidget*>("txtTime")->property("text").toString(), "");
}

TEST(WindowMenuTree, EachItemHasItsCaptionShortcutAndStartingCheckMark)
{
    Globals globals;
    MainWindow window(globals);
    const std::tuple<MenuId, const char*, const char*, bool> items[] = {
        {Menu_Game, "&Game", "", false}, {Menu_New, "&New game", "F2", false}, {Menu_Undo, "&Undo", "Del", false},
        {Menu_RejectUndo, "&Reject undo", "F9", false}, {Menu_Details, "&Details", "F3", false},
        {Menu_Piece, "&Piecesize", "", false}, {Menu_PieceSmall, "&Small", "Ctrl+A", false},
        {Menu_PieceNormal, "&Normal", "Ctrl+B", true}, {Menu_PieceFull, "&Full", "Ctrl+C", false},
        {Menu_Autodraw, "&Autodraw", "F4", false}, {Menu_Sound, "&Sound", "F5", true},
        {Menu_Music, "&Music", "F6", false}, {Menu_exit, "&Exit", "F12", false}, {Menu_Players, "&Players", "", false},
        {Menu_HumanHuman, "Human vs. Human", "Ctrl+F1", false}, {Menu_HumanComputer, "Human vs. Computer", "Ctrl+F2", true},
        {Menu_ComputerComputer, "Computer vs. Computer", "Ctrl+F3", false},
        {Menu_Network, "Network game", "Ctrl+F4", false}, {Menu_Send, "Send message", "", false},
        {Menu_Computer, "&Computerlevel", "", false}, {Menu_Stupid, "&Stupid", "", false},
        {Menu_Easy, "&Easy", "", false}, {Menu_Normal, "&Medium", "", false}, {Menu_Hard, "&Hard", "", true},
        {Menu_Helpmenu, "&Help", "", false}, {Menu_Help, "&Help", "", false}, {Menu_About, "&About", "", false},
        {Menu_Stop, "&Stop", "", false}};
    for (const auto& [id, caption, shortcut, checked] : items) {
        const QAction* a = window.action(id);
        EXPECT_EQ(a->text(), caption);
        EXPECT_EQ(a->shortcut().toString(), shortcut) << caption;
        EXPECT_EQ(a->isChecked(), checked) << caption;
    }
}

TEST_F(Window, FirstActivationWidensTheWindowAndShowsTheMoveList)
{
    for (MenuId top : {Menu_Game, Menu_Players, Menu_Computer, Menu_Helpmenu})
        EXPECT_TRUE(window.action(top)->isEnabled());
    EXPECT_TRUE(window.action(Menu_Details)->isChecked());
    EXPECT_EQ(game().ui.Width, 7010);
    EXPECT_EQ(game().CellWidth, 222);
    EXPECT_EQ(geometry("txtMoves").left(), toPixels(7010 - 1815 - 225));
    EXPECT_FALSE(window.action(Menu_Undo)->isEnabled());

    QTest::keyClick(&window, Qt::Key_F3);
    EXPECT_EQ(game().CellWidth, 313);
    EXPECT_FALSE(window.board().rect().intersects(geometry("txtMoves")));

    window.resize(100, 100); // the window's minimum size keeps the floor
    QTest::qWait(50);
    EXPECT_EQ(game().ui.Width, 4600);
    EXPECT_EQ(game().CellHeight, 182);
}

TEST_F(Window, DrawsTheGridOnCyanAndPiecesInsetFromTheirCells)
{
    humanVsHuman();
    const Game& g = game();
    const double row3 = g.CellHeight * 4.5;
    EXPECT_EQ(pixel(g.CellWidth * 0.5, row3), kCyan) << "the margin left of the board";

    QString countDuringTheMove;
    QTimer::singleShot(0, &window, [&] { countDuringTheMove = text("lblTraek"); });
    clickCell(3, 4);
    EXPECT_EQ(countDuringTheMove, "Moves: 1") << "the move's own event pass shows it";
    EXPECT_EQ(cellCentre(3, 4), kRed);
    EXPECT_EQ(pixel(g.CellWidth * 5, row3), kBlack) << "a Normal piece leaves the lines";
    EXPECT_EQ(pixel(g.CellWidth * 5 + 15, row3), kRed);
    EXPECT_EQ(pixel(g.CellWidth * 6 - 15, row3), kRed);
    EXPECT_EQ(pixel(g.CellWidth * 6, row3), kBlack);
    EXPECT_EQ(text("lblPlacer"), "'s turn.");
    EXPECT_EQ(text("lblTraek"), "Moves: 1");
    EXPECT_EQ(window.findChild<QLabel*>("lblHvisTur")->palette().color(QPalette::Window), kBlue);
    EXPECT_TRUE(window.action(Menu_Undo)->isEnabled());

    clickCell(3, 5);
    EXPECT_EQ(cellCentre(3, 5), kBlue);
    clickCell(3, 5);
    EXPECT_EQ(text("lblTraek"), "Moves: 2") << "an occupied cell takes nothing";

    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(g.PieceInset, 0);
    EXPECT_EQ(pixel(g.CellWidth * 5, row3), kRed) << "a Full piece covers the lines around it";
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(g.PieceInset, 74);
    EXPECT_EQ(pixel(g.CellWidth * 5 + 60, row3), kCyan);
    EXPECT_EQ(pixel(g.CellWidth * 5 + 80, row3), kRed);
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(g.PieceInset, 15);
    EXPECT_EQ(pixel(g.CellWidth * 5, row3), kBlack);
}

TEST_F(Window, AWinMarksTheFiveAndCountsTheScore)
{
    humanVsHuman();
    for (int c = 2; c < 6; ++c) {
        clickCell(8, c);
        clickCell(9, c);
    }
    clickCell(8, 6);
    for (int c = 2; c <= 6; ++c)
        EXPECT_EQ(cellCentre(8, c), kCyan) << "the winning pieces get a hole, column " << c;
    EXPECT_EQ(pixel(game().CellWidth * 3.5 - 40, game().CellHeight * 9.5), kRed);
    EXPECT_EQ(cellCentre(9, 2), kBlue);
    EXPECT_EQ(text("lblPlacer"), "'s a winner!!!");
    EXPECT_EQ(text("lblComp"), "Red: 1 - Blue: 0\nDraw: 0");

    clickCell(0, 0);
    EXPECT_EQ(cellCentre(0, 0), kCyan) << "the game is over";

    // The board is drawn anew after a resize, the five marked again.
    window.resize(window.width() + 90, window.height() + 45);
    QTest::qWait(50);
    EXPECT_EQ(cellCentre(8, 4), kCyan);
    EXPECT_EQ(cellCentre(9, 4), kBlue);
    EXPECT_EQ(geometry("imgLeft").topLeft(), QPoint(toPixels(21 * game().CellWidth + 20),
                                                    toPixels(1.5 * game().CellHeight + 8 * game().CellHeight - 80)));
    EXPECT_EQ(geometry("imgUp").topLeft(), QPoint(toPixels(1.5 * game().CellWidth + 6 * game().CellWidth - 80),
                                                  toPixels(21 * game().CellHeight + 20)));
}

TEST_F(Window, ADrawShowsTheBannerUntilUndo)
{
    humanVsHuman();
    clickCell(0, 0);
    // Pairs of each colour, shifted by two per row: no window of five is left
    // open once the last cell is taken.
    for (int r = 0; r < BoardSize; ++r)
        for (int c = 0; c < BoardSize; ++c)
            if (r != 10 || c != 10)
                game().setBoard(r, c, (c + 2 * r) % 4 < 2 ? MarkX : MarkO);
    clickCell(10, 10);
    EXPECT_EQ(game().Board(10, 10), MarkO);
    EXPECT_EQ(text("lblPlacer"), "It's a draw");
    EXPECT_FALSE(window.findChild<QLabel*>("lblHvisTur")->isVisible());
    const QLabel* banner = window.findChild<QLabel*>("lblDraw");
    EXPECT_EQ(banner->text(), "Five not possible");
    EXPECT_TRUE(window.board().rect().contains(banner->geometry()));
    EXPECT_EQ(banner->geometry().center().x(), toPixels(11 * game().CellWidth) - 1);

    QTest::keyClick(&window, Qt::Key_Delete);
    EXPECT_FALSE(window.board().rect().intersects(banner->geometry()));
}

TEST_F(Window, ADisabledWindowTakesNoClicksOrCommandsAndItsMenusStillShowTheGamesState)
{
    humanVsHuman();
    game().ui.Enabled = false;
    clickCell(5, 5);
    QTest::keyClick(&window, Qt::Key_F3);
    window.action(Menu_Easy)->trigger();
    EXPECT_EQ(game().Board(5, 5), Empty);
    EXPECT_TRUE(game().checked(Menu_Details) && window.action(Menu_Details)->isChecked());
    EXPECT_TRUE(window.action(Menu_Hard)->isChecked() && !window.action(Menu_Easy)->isChecked());
    game().ui.Enabled = true;
}

TEST_F(Window, ChoicesOfOneAmongSeveralShowRadioMarksAndTheMoveListNeverWraps)
{
    for (MenuId item : {Menu_PieceNormal, Menu_HumanComputer, Menu_Hard})
        EXPECT_TRUE(window.action(item)->actionGroup() && window.action(item)->actionGroup()->isExclusive());
    EXPECT_EQ(window.action(Menu_Details)->actionGroup(), nullptr);
    EXPECT_EQ(window.findChild<QPlainTextEdit*>("txtMoves")->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(Window, TheGameClockTicksInTheTimeBoxAndEachNewGameStartsItsFirstSecondAfresh)
{
    EXPECT_TRUE(QTest::qWaitFor([this] { return window.findChild<QLineEdit*>("txtTime")->text() == "00:00:01"; }, 3000));
    EXPECT_TRUE(window.timer(1).isActive());
    EXPECT_EQ(window.timer(1).timerType(), Qt::PreciseTimer);
    QTest::qWait(500);
    window.action(Menu_New)->trigger();
    EXPECT_GT(window.timer(1).remainingTime(), 900);
}

TEST_F(Window, ComputerVsComputerShowsOnlyStopUntilStopped)
{
    window.action(Menu_ComputerComputer)->trigger();
    EXPECT_TRUE(game().state().GameOver) << "the first game is played out at once";
    EXPECT_TRUE(window.action(Menu_Stop)->isVisible());
    for (MenuId top : {Menu_Game, Menu_Players, Menu_Computer, Menu_Helpmenu})
        EXPECT_FALSE(window.action(top)->isVisible());
    const int played = globals.Score[1] + globals.Score[2] + globals.Score[3];
    EXPECT_EQ(played, 1);

    // The next game starts a second later; Stop ends the run there.
    ASSERT_TRUE(QTest::qWaitFor([&] { return globals.Score[1] + globals.Score[2] + globals.Score[3] == 2; }, 5000));
    window.action(Menu_Stop)->trigger();
    EXPECT_FALSE(window.action(Menu_Stop)->isVisible());
    EXPECT_TRUE(window.action(Menu_Game)->isVisible());
    QTest::qWait(1300);
    EXPECT_EQ(globals.Score[1] + globals.Score[2] + globals.Score[3], 2) << "no game after Stop";

    // A Stop chosen during the wipe, while the window takes no input, still
    // ends the run, before the next game makes a move.
    QTimer::singleShot(100, &window, [&] { window.action(Menu_Stop)->trigger(); });
    window.action(Menu_New)->trigger();
    EXPECT_EQ(game().state().MoveCount, 0) << "not a single move";
    EXPECT_TRUE(game().state().Stopped);
    EXPECT_TRUE(window.action(Menu_Game)->isVisible());
}

TEST(TwoWindows, PlaySideBySideInOneProcessEachWithItsOwnPointerAndClosingOneLeavesTheOtherPlaying)
{
    Globals hostGlobals, joinerGlobals;
    MainWindow host(hostGlobals), joiner(joinerGlobals);
    for (MainWindow* w : {&host, &joiner}) {
        w->show();
        ASSERT_TRUE(passIntro(*w));
        w->action(Menu_HumanHuman)->trigger();
    }
    const auto click = [](MainWindow& w, int row, int col) {
        const Game& g = w.game();
        QTest::mouseClick(&w.board(), Qt::LeftButton, {},
                          QPoint(toPixels(g.CellWidth * (col + 1.5)), toPixels(g.CellHeight * (row + 1.5))));
    };
    click(host, 3, 3);
    click(joiner, 4, 4);
    EXPECT_TRUE(host.game().Board(3, 3) == MarkX && host.game().Board(4, 4) == Empty);
    EXPECT_TRUE(joiner.game().Board(4, 4) == MarkX && joiner.game().Board(3, 3) == Empty);

    host.game().ui.MousePointer = PointerHourglass;
    host.Render();
    EXPECT_EQ(host.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(host.findChild<QPlainTextEdit*>("txtMoves")->viewport()->cursor().shape(), Qt::WaitCursor);
    EXPECT_NE(joiner.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    host.game().ui.MousePointer = PointerDefault;
    host.Render();
    EXPECT_EQ(host.findChild<QPlainTextEdit*>("txtMoves")->viewport()->cursor().shape(), Qt::IBeamCursor);

    // Exit closes the host's window only: the application keeps running.
    QTimer::singleShot(0, &host, [&] { host.action(Menu_exit)->trigger(); });
    QTimer::singleShot(300, &joiner, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 7) << "nothing asked the application to quit";
    EXPECT_FALSE(host.isVisible());
    EXPECT_TRUE(joiner.isVisible());
    click(joiner, 5, 5);
    EXPECT_EQ(joiner.game().Board(5, 5), MarkO);
    click(host, 6, 6);
    EXPECT_EQ(host.game().Board(6, 6), Empty) << "the closed window takes nothing more";
}

} // namespace brindle::testing
