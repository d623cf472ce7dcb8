// Game records in the real window: saved through the file dialog, opened
// again, dropped on the board, refused with the file's name and line, and the
// game kept at closing (or when the network dialog replaces it) continued.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include "app/network_dialog.h"
#include "platform/record_files.h"
#include "support/box_answerer.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

QString written(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct Records : ::testing::Test {
    void SetUp() override { QFile::remove(KeptGameFile().path()); }
    void play(MainWindow& w, std::initializer_list<std::pair<int, int>> cells)
    {
        for (const auto& [row, col] : cells) {
            const int32_t before = w.game().state().MoveCount;
            clickCell(w, row, col);
            ASSERT_TRUE(waitFor([&] { return w.game().state().MoveCount == before + 1; }, "the move"));
        }
    }
    // The one message box seen since the last call, when it says `part`.
    ::testing::AssertionResult told(const char* part)
    {
        if (!waitFor([this] { return !boxes.seen.empty(); }, "a message"))
            return ::testing::AssertionFailure() << "no message";
        const std::string text = boxes.seen.front();
        boxes.seen.clear();
        if (text.find(part) == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << text << "\" does not say \"" << part << "\"";
        return ::testing::AssertionSuccess();
    }

    Globals globals;
    QTemporaryDir folder;
    BoxAnswerer boxes;
    std::deque<std::pair<QString, QString>>& files = boxes.files;
};

TEST_F(Records, AGameIsSavedInEitherFormatOpenedAgainOrDroppedAndABadFileIsToldAndLeavesTheBoard)
{
    MainWindow window(globals);
    ASSERT_TRUE(startGame(window));
    play(window, {{3, 3}, {4, 4}, {3, 4}});
    const QString dir = folder.path();
    files = {{dir + "/plain", ""}, {dir + "/engines", "Piskvork record (*.psq)"}, {dir + "/gone/x.sgf", ""}};
    window.action(Menu_Save)->trigger();
    window.action(Menu_Save)->trigger();
    ASSERT_TRUE(waitFor([&] { return files.size() == 1; }, "both file dialogs"));
    EXPECT_TRUE(contents(dir + "/plain.sgf").startsWith("(;FF[4]GM[4]SZ[20]") && contents(dir + "/plain.sgf").contains("AP[Brindle:1.4.0]"))
        << "SGF comes first, and names the program that wrote it";
    EXPECT_TRUE(contents(dir + "/engines.psq").startsWith("Piskvorky 20x20, 11:11, 0\n4,4,"));
    window.action(Menu_Save)->trigger();
    EXPECT_TRUE(told("Could not save x.sgf:")) << "a folder that is not there";

    window.action(Menu_New)->trigger();
    files = {{dir + "/engines.psq", ""}};
    window.action(Menu_Open)->trigger();
    ASSERT_TRUE(waitFor([&] { return window.game().state().MoveCount == 3; }, "the opened game"));
    EXPECT_TRUE(window.game().Board(3, 4) == MarkX && window.game().Board(4, 4) == MarkO);

    const struct { QString path; const char* says; } bad[] = {
        {written(dir + "/twice.sgf", "(;GM[4]SZ[20]\n;B[aa]\n;W[aa])"), "twice.sgf, line 3: Move 2 is on a stone"},
        {written(dir + "/huge.sgf", QByteArray(int(record::MaxBytes) + 1, ' ')), "huge.sgf is larger than 1 MB"},
        {written(dir + "/edge.sgf", QByteArray(int(record::MaxBytes), ' ')), "edge.sgf, line 1: This is not a game record"},
        {dir + "/missing.sgf", "Could not open missing.sgf"},
    };
    for (const auto& c : bad) {
        window.openRecordFile(c.path);
        EXPECT_TRUE(told(c.says)) << c.path.toStdString();
        EXPECT_EQ(window.game().state().MoveCount, 3) << c.path.toStdString();
    }

    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(written(dir + "/dropped.psq", "Piskvorky 20x20, 11:11, 0\n1,1,0\n"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(&window.board(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QApplication::sendEvent(&window.board(), &drop);
    ASSERT_TRUE(waitFor([&] { return window.game().state().MoveCount == 1; }, "the dropped game"));
    EXPECT_TRUE(window.game().Board(0, 0) == MarkX && boxes.seen.empty());
}

TEST_F(Records, AFailedSaveKeepsTheOldFileWhole)
{
    // A full disk, made by a file-size limit.
    const QString old = written(folder.path() + "/old.sgf", "the old game");
    EXPECT_EQ(writeAtomically(old, "a new game"), "");
    EXPECT_EQ(contents(old), "a new game");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const std::string failure = writeAtomically(old, std::string(100, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(failure.starts_with("Could not save old.sgf: ")) << failure;
    EXPECT_EQ(contents(old), "a new game");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1) << "no temporary file is left behind";
}

TEST_F(Records, AGameLeftUnfinishedIsContinuedAndARecordNamedAtStartOpensAfterTheIntro)
{
    std::string moves;
    {
        MainWindow first(globals);
        ASSERT_TRUE(startGame(first));
        play(first, {{9, 9}, {9, 10}, {10, 10}});
        moves = first.game().ui.txtMoves.Caption;
        first.close();
    }
    MainWindow next(globals);
    ASSERT_TRUE(startGame(next));
    ASSERT_TRUE(next.action(Menu_Continue)->isEnabled());
    next.action(Menu_Continue)->trigger();
    EXPECT_TRUE(next.game().ui.txtMoves.Caption == moves && next.game().state().NextMark == MarkO);
    EXPECT_TRUE(!next.action(Menu_Continue)->isEnabled() && !QFile::exists(KeptGameFile().path()));

    // A game left for the network dialog, which is then cancelled, is kept too.
    QTimer::singleShot(0, &next, [&next] {
        auto* dialog = next.findChild<NetworkDialog*>();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
    });
    next.action(Menu_Network)->trigger();
    // The new game against the computer may open with its move.
    ASSERT_TRUE(waitFor([&] { return next.action(Menu_Continue)->isEnabled() && next.game().state().MoveCount <= 1; },
                        "a new game with the old one kept"));
    next.action(Menu_Continue)->trigger();
    EXPECT_TRUE(next.game().ui.txtMoves.Caption == moves && next.game().checked(Menu_HumanHuman));

    MainWindow named(globals);
    named.openRecordFile(written(folder.path() + "/named.sgf", "(;GM[4]SZ[20];B[aa];W[bb])"));
    ASSERT_TRUE(passIntro(named));
    // In Human vs. Computer the computer may be red, to move, and answer at once.
    ASSERT_TRUE(waitFor([&] { return named.game().Board(0, 0) == MarkX && named.game().Board(1, 1) == MarkO; },
                        "the named record after the intro"));
}

} // namespace
} // namespace brindle
