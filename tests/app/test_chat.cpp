// "Send a message": the dialog, what it puts on the wire, and Enter in the
// move list that opens it.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/say_what_dialog.h"
#include "support/network_pair.h"

namespace brindle::testing {
namespace {

class Chat : public ::testing::Test, protected NetworkPair {
protected:
    // "Send a message" on the joiner with `text` typed, sent with Enter.
    void say(const QString& text)
    {
        SayWhatDialog dialog(joiner.session, nullptr);
        dialog.show();
        dialog.txtMessage->setText(text);
        QTest::keyClick(dialog.txtMessage, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        deliverAll();
    }
};

TEST_F(Chat, TheDialogIsLaidOutAsDrawnWithSendAsItsDefault)
{
    SayWhatDialog d(joiner.session, nullptr);
    EXPECT_EQ(d.windowTitle(), "Send a message");
    EXPECT_TRUE(d.isModal());
    EXPECT_EQ(d.Label1->text(), "Message:");
    EXPECT_EQ(d.Label1->buddy(), d.txtMessage);
    EXPECT_EQ(d.Label1->geometry(), QRect(8, 8, 49, 17));
    EXPECT_EQ(d.txtMessage->geometry(), QRect(56, 8, 305, 19));
    EXPECT_EQ(d.comSend->geometry(), QRect(368, 8, 65, 20));
    EXPECT_EQ(d.comSend->text(), "&Send");
    EXPECT_TRUE(d.comSend->isDefault());
    EXPECT_TRUE(d.txtMessage->text().isEmpty());
    EXPECT_EQ(d.focusWidget(), d.txtMessage) << "ready for typing";
    EXPECT_EQ(d.font().family(), "Arial");
    EXPECT_EQ(d.font().pointSize(), 8);
}

TEST_F(Chat, TheTextGoesOutExactlyAsTypedAndNothingWhenEmptyOrThePeerHasGone)
{
    connect();
    const size_t before = joiner.transport.sent.size();
    say(QStringLiteral("  Zoë, good game  "));
    ASSERT_EQ(joiner.transport.sent.size(), before + 1);
    EXPECT_EQ(joiner.transport.sent.back(), "  Zo\xEB, good game  ");
    EXPECT_EQ(host.dialogs.boxes.back(), "Brindle: Zoë, good game");

    say(QString());
    EXPECT_EQ(joiner.transport.sent.size(), before + 1);

    joiner.transport.arrive(protocol::leaveMessage());
    deliverAll();
    const size_t boxes = joiner.dialogs.boxes.size();
    say(QStringLiteral("anyone?"));
    EXPECT_EQ(joiner.transport.sent.size(), before + 1);
    EXPECT_EQ(joiner.dialogs.boxes.size(), boxes) << "a send that cannot go reports nothing";
}

TEST_F(Chat, EnterInTheMoveListOpensItOnlyInANetworkGameWithThePeerThere)
{
    int opened = 0;
    joiner.game.bindCommand(Menu_Send, [&] { ++opened; });
    joiner.game.txtMoves_KeyDown(13, 0);
    EXPECT_EQ(opened, 0) << "not a network game";
    connect();
    joiner.game.txtMoves_KeyDown(32, 0);
    joiner.game.txtMoves_KeyDown(10, 0);
    EXPECT_EQ(opened, 0) << "only Enter";
    joiner.game.txtMoves_KeyDown(13, 0);
    EXPECT_EQ(opened, 1);
    joiner.transport.arrive(protocol::leaveMessage());
    deliverAll();
    joiner.game.txtMoves_KeyDown(13, 0);
    EXPECT_EQ(opened, 1) << "the peer has left";
}

} // namespace
} // namespace brindle::testing
