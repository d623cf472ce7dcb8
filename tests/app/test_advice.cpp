// The computer's advice in the real window: the analysis beside a game that
// stays live, a review that goes into SGF and comes back from it, and none
// of it in a network game.

#include <gtest/gtest.h>

#include <cmath>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "app/network_dialog.h"
#include "game/record.h"
#include "platform/record_files.h"
#include "support/box_answerer.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

// The analysis has spoken about the position now on the board: its best
// moves are marked the moment the panel hears them.
bool analysed(MainWindow& w)
{
    return !w.board().overlay().candidates.empty();
}

::testing::AssertionResult heardAbout(MainWindow& w, size_t marked, const char* what)
{
    if (auto heard = waitFor([&] { return !w.analysisPanel().verdictLabel().text().isEmpty(); }, what); !heard)
        return heard;
    if (w.board().overlay().candidates.size() != marked)
        return ::testing::AssertionFailure() << w.board().overlay().candidates.size() << " moves marked for " << what;
    return ::testing::AssertionSuccess();
}

TEST(Advice, TheAnalysisFollowsEveryMoveAndTheWindowActsAtOnceWhileItThinks)
{
    Globals globals;
    MainWindow window(globals);
    ASSERT_TRUE(startGame(window));
    const int boardWidth = window.board().width();
    window.action(Menu_Analysis)->trigger();
    ASSERT_TRUE(window.analysisPanel().isVisible());
    ASSERT_TRUE(heardAbout(window, 1, "the analysis of the empty board: its centre"));
    EXPECT_EQ(window.board().width(), boardWidth) << "the panel brings its own room";
    clickCell(window, 9, 9);
    // The click is played at once: the analysis gives the worker up within a move.
    EXPECT_EQ(window.game().state().MoveCount, 1);
    EXPECT_FALSE(analysed(window)) << "the old position's marks go with it";
    ASSERT_TRUE(heardAbout(window, 3, "the analysis of the first move"));
    // The number is blue's, who is to move; the words name whoever leads
    // (a lead that rounds to 0.4 may still read as even).
    const QString verdict = window.analysisPanel().verdictLabel().text();
    const double forBlue = verdict.section(' ', -1).toDouble();
    if (std::abs(forBlue) >= 0.5) {
        EXPECT_TRUE(verdict.startsWith(forBlue > 0 ? "Blue" : "Red")) << verdict.toStdString();
    } else {
        EXPECT_FALSE(verdict.contains("better") && !verdict.contains("slightly")) << verdict.toStdString();
    }
    // Pointing at the best line shows it on the board, its first stone blue's.
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&window.analysisPanel().lineLabel(), &enter);
    ASSERT_FALSE(window.board().overlay().line.empty());
    EXPECT_FALSE(window.board().overlay().lineRed);
    // Written as the move list writes moves, (row,column) from 1, numbered from move 2.
    const auto first = window.board().overlay().line.front();
    EXPECT_TRUE(window.analysisPanel().lineLabel().text().startsWith(
        QStringLiteral("Best line: 2: (%1,%2)").arg(first[0] + 1).arg(first[1] + 1)))
        << window.analysisPanel().lineLabel().text().toStdString();
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&window.analysisPanel().lineLabel(), &leave);
    EXPECT_TRUE(window.board().overlay().line.empty());
    // Undo in the middle of a long think: the search lets go within milliseconds.
    QElapsedTimer undo;
    undo.start();
    window.action(Menu_Undo)->trigger();
    EXPECT_LT(undo.elapsed(), 2000) << "the window waited for the analysis";
    EXPECT_EQ(window.game().state().MoveCount, 0);
    window.action(Menu_Analysis)->trigger();
    EXPECT_FALSE(window.analysisPanel().isVisible());
    EXPECT_FALSE(window.advisor().analyst().busy()) << "off means the thread has stopped";
    EXPECT_TRUE(waitFor([&] { return window.board().width() == boardWidth; }, "the board's width back"))
        << window.board().width() << " against " << boardWidth;
}

TEST(Advice, AReviewMarksTheGameGoesIntoSgfComesBackWithoutThinkingAndItsGraphWalksTheMoves)
{
    Globals globals;
    MainWindow window(globals);
    ASSERT_TRUE(startGame(window));
    // Blue lets red's open three become an open four at move 7.
    for (const auto& [row, col] : {std::pair(9, 9), {0, 0}, {9, 10}, {0, 19}, {9, 11}, {19, 0}})
        clickCell(window, row, col);
    window.advisor().reviewBudget = std::chrono::milliseconds(30);
    const int boardWidth = window.board().width();
    window.action(Menu_Review)->trigger();
    ASSERT_TRUE(window.advisor().reviewing());
    ASSERT_TRUE(waitFor([&] { return !window.advisor().review().empty(); }, "the review", 10000));
    const std::vector<ReviewedMove> review = window.advisor().review();
    EXPECT_TRUE(window.analysisPanel().statusLabel().text().startsWith("Reviewed")) << "no longer reviewing";
    ASSERT_EQ(review.size(), 7u);
    EXPECT_GT(review[6].value, 0.9) << "red's open three, unanswered: red wins";
    EXPECT_EQ(review[6].mark, 2) << "blue's corner move lets the win stand: a blunder";
    EXPECT_NE(review[6].note.find("the computer preferred (10,"), std::string::npos) << review[6].note;
    auto* progress = window.analysisPanel().findChild<QProgressBar*>();
    EXPECT_EQ(progress->maximum(), 7) << "every position, the empty board too";
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(window.board().width(), boardWidth) << "the graph and the list take no room from the board";
    // The blunder in the list takes the board to it.
    auto* mistakes = window.analysisPanel().findChild<QListWidget*>();
    EXPECT_TRUE(mistakes->isVisible());
    const QList<QListWidgetItem*> blunder = mistakes->findItems("Blunder 6 (Blue)", Qt::MatchStartsWith);
    ASSERT_EQ(blunder.size(), 1);
    window.action(Menu_Undo)->trigger();
    emit mistakes->itemActivated(blunder.front());
    EXPECT_EQ(window.game().state().MoveCount, 6);

    record::Record saved = window.game().record("2026-12-09");
    window.advisor().annotate(saved);
    ASSERT_TRUE(saved.reviewed);
    const std::string text = record::toSgf(saved);
    EXPECT_NE(text.find("BM[1]"), std::string::npos) << text;
    QTemporaryDir dir;
    const QString path = dir.filePath("reviewed.sgf");
    ASSERT_EQ(writeAtomically(path, text), "");

    window.action(Menu_New)->trigger();
    ASSERT_TRUE(waitFor([&] { return window.advisor().review().empty(); }, "a new game to put the review away"));
    window.openRecordFile(path);
    ASSERT_TRUE(waitFor([&] { return window.game().state().MoveCount == 6; }, "the record on the board"));
    const std::vector<ReviewedMove>& read = window.advisor().review();
    ASSERT_EQ(read.size(), review.size());
    for (size_t n = 1; n < read.size(); ++n) {
        EXPECT_NEAR(read[n].value, review[n].value, 0.001) << n;
        EXPECT_EQ(read[n].mark, review[n].mark) << n;
        EXPECT_EQ(read[n].note, review[n].note) << n;
    }
    EXPECT_FALSE(window.advisor().reviewing());

    // A click on the graph, then the arrow keys, walk by Undo and Reject undo.
    ReviewGraph& graph = window.analysisPanel().graph();
    ASSERT_TRUE(graph.isVisible());
    QTest::mouseClick(&graph, Qt::LeftButton, {}, QPoint(graph.width() / 2, graph.height() / 2));
    EXPECT_EQ(window.game().state().MoveCount, graph.moveAt(graph.width() / 2));
    QTest::keyClick(&graph, Qt::Key_Home);
    EXPECT_EQ(window.game().state().MoveCount, 0);
    QTest::keyClick(&graph, Qt::Key_Right);
    QTest::keyClick(&graph, Qt::Key_Right);
    EXPECT_EQ(window.game().state().MoveCount, 2);
    EXPECT_EQ(graph.current(), 2);
    QTest::keyClick(&graph, Qt::Key_End);
    EXPECT_EQ(window.game().state().MoveCount, 6);
    QTest::keyClick(&graph, Qt::Key_Left);
    EXPECT_EQ(window.game().state().MoveCount, 5);
    // Saved there, the game keeps the review of its five moves.
    record::Record shorter = window.game().record("2026-12-09");
    window.advisor().annotate(shorter);
    ASSERT_TRUE(shorter.reviewed && shorter.notes.size() == 5);
    EXPECT_NEAR(shorter.notes[4].value, review[5].value, 0.001);

    // Cancel stops a review and leaves no graph behind.
    window.advisor().reviewBudget = std::chrono::milliseconds(2000);
    window.action(Menu_Review)->trigger();
    ASSERT_TRUE(window.advisor().reviewing());
    auto* cancel = window.analysisPanel().findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(progress->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(window.advisor().reviewing() || window.advisor().analyst().busy());
    EXPECT_TRUE(window.advisor().review().empty());
    EXPECT_TRUE(progress->isHidden() && cancel->isHidden() && mistakes->isHidden() && graph.isHidden());
    // So does closing the panel.
    window.action(Menu_Review)->trigger();
    ASSERT_TRUE(window.advisor().reviewing());
    window.analysisPanel().close();
    EXPECT_FALSE(window.advisor().reviewing() || window.advisor().analyst().busy());
    EXPECT_FALSE(window.analysisPanel().isVisible());
}

TEST(Advice, NeverInANetworkGame)
{
    BoxAnswerer boxes;
    Globals globals;
    MainWindow window(globals);
    ASSERT_TRUE(startGame(window));
    window.action(Menu_Analysis)->trigger();
    ASSERT_TRUE(window.analysisPanel().isVisible());
    window.session().listenPort = 0;
    QTimer::singleShot(0, &window, [&window] {
        auto* d = window.findChild<NetworkDialog*>();
        ASSERT_NE(d, nullptr) << "the network dialog";
        d->findChild<QLineEdit*>("txtHostAm")->setText("Ann");
        QTest::mouseClick(d->findChild<QPushButton*>("comHost"), Qt::LeftButton);
    });
    window.action(Menu_Network)->trigger();
    ASSERT_TRUE(window.game().checked(Menu_Network));
    EXPECT_FALSE(window.analysisPanel().isVisible());
    EXPECT_FALSE(window.action(Menu_Analysis)->isEnabled() || window.action(Menu_Analysis)->isChecked());
    EXPECT_FALSE(window.action(Menu_Hint)->isEnabled() || window.action(Menu_Review)->isEnabled());
    EXPECT_FALSE(window.advisor().analyst().busy());
    EXPECT_TRUE(window.board().overlay().candidates.empty());
}

} // namespace
} // namespace brindle
