// The Help menu's two windows: their texts, rebuilt at every opening, and
// the main window waiting while one is open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/info_windows.h"
#include "app/main_window.h"
#include "support/pass_intro.h"

namespace brindle {
namespace {

TEST(AboutWindow, ShowsTitleVersionAndCreditsWithTheirBlankLine)
{
    AboutDialog about(nullptr);
    EXPECT_EQ(about.windowTitle(), "About Brindle");
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.lblTitle->text(), "Brindle");
    EXPECT_TRUE(about.lblTitle->font().bold());
    EXPECT_EQ(about.lblVersion->text(), "Version 1.4.0");
    EXPECT_FALSE(about.picIcon->pixmap().isNull());
    EXPECT_FALSE(about.lblMail->text().isEmpty());
    EXPECT_EQ(about.Label1->text(), " ");
    EXPECT_EQ(about.cmdOK->text(), "&OK");
    EXPECT_TRUE(about.cmdOK->isDefault());
    EXPECT_GT(about.lblTitle->font().pointSize(), about.lblVersion->font().pointSize()) << "the title stands out";

    const QStringList lines = about.lblDescription->text().split('\n');
    ASSERT_EQ(lines.size(), 4) << about.lblDescription->text().toStdString();
    EXPECT_EQ(lines[0], "A fun little game created by:");
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(lines[2].startsWith("Programmer: "));
    EXPECT_TRUE(lines[3].contains(": "));

    // Loading again rebuilds the texts; nothing is added twice.
    const QString credits = about.lblDescription->text();
    about.Form_Load();
    EXPECT_EQ(about.lblDescription->text(), credits);
    EXPECT_EQ(about.windowTitle(), "About Brindle");
}

TEST(HelpWindow, SaysHowAGameIsWonInItsTenLines)
{
    HelpDialog help(nullptr);
    EXPECT_EQ(help.windowTitle(), "Help");
    EXPECT_TRUE(help.isModal());
    EXPECT_TRUE(help.txtTekst->isReadOnly());
    EXPECT_TRUE(help.cmdOK->isDefault());
    const QStringList lines = help.txtTekst->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 10);
    const char* const expected[] = {"What 'Brindle' is all about.",
                                    "",
                                    "It is pretty simple, all you have to do is to get",
                                    nullptr,
                                    "your opponent.",
                                    "",
                                    "Be aware, that when your opponent has three in a row",
                                    "you have to block it, otherwise it might be too late.",
                                    "",
                                    "Have fun!"};
    for (int i = 0; i < 10; ++i) {
        if (expected[i] != nullptr) {
            EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
        }
    }
    // The aim continues the sentence: five in a line in any direction.
    EXPECT_TRUE(lines[3].at(0).isLower());
    for (const char* word : {"five", "line", "diagonal"})
        EXPECT_TRUE(lines[3].contains(word)) << word;
    help.Form_Load();
    EXPECT_EQ(help.txtTekst->toPlainText().split('\n').size(), 10);
}

// Chooses `item` in the window and, while its window is open, runs `look`
// on it, then presses OK.
void whileOpen(MainWindow& window, MenuId item, const char* name, const std::function<void(QDialog&)>& look)
{
    bool seen = false;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = window.findChild<QDialog*>(name);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(QApplication::activeModalWidget(), dialog);
        look(*dialog);
        seen = true;
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    window.action(item)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(window.findChild<QDialog*>(name), nullptr) << "closed and gone";
}

TEST(InfoWindows, OpenFromTheHelpMenuAsTheOneWindowTakingInput)
{
    Globals globals;
    MainWindow window(globals);
    window.show();
    ASSERT_TRUE(passIntro(window));
    ASSERT_TRUE(window.action(Menu_About)->isEnabled());
    ASSERT_TRUE(window.action(Menu_Help)->isEnabled());

    QString firstCredits;
    for (int time = 0; time < 2; ++time) {
        whileOpen(window, Menu_About, "frmAbout", [&](QDialog& d) {
            const QString credits = d.findChild<QLabel*>("lblDescription")->text();
            if (time == 0)
                firstCredits = credits;
            EXPECT_EQ(credits, firstCredits) << "the same texts every time";
        });
    }
    whileOpen(window, Menu_Help, "frmHelp", [](QDialog& d) {
        EXPECT_TRUE(d.findChild<QPlainTextEdit*>("txtTekst")->toPlainText().startsWith("What 'Brindle'"));
    });
}

} // namespace
} // namespace brindle
