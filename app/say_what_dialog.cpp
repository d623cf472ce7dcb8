#include "say_what_dialog.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "net/session.h"
#include "app/twips.h"

namespace brindle {

SayWhatDialog::SayWhatDialog(NetSession& session, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("frmSayWhat"));
    setWindowTitle(QStringLiteral("Send a message"));
    setFixedSize(twipsToPixels(6615), twipsToPixels(540));
    setFont(QFont(QStringLiteral("Arial"), 8));

    Label1 = place(new QLabel(QStringLiteral("Message:"), this), "Label1", 120, 120, 735, 255);
    txtMessage = place(new QLineEdit(this), "txtMessage", 840, 120, 4575, 285);
    txtMessage->setAccessibleName(QStringLiteral("Message"));
    Label1->setBuddy(txtMessage);
    comSend = place(new QPushButton(QStringLiteral("&Send"), this), "comSend", 5520, 120, 975, 300);
    // Enter in the text box presses Send; closing the window drops the text.
    comSend->setDefault(true);
    connect(comSend, &QPushButton::clicked, this, [this] { comSend_Click(); });
    txtMessage->setFocus();
}

void SayWhatDialog::comSend_Click()
{
    session_.sendChat(txtMessage->text().toStdString());
    accept();
}

} // namespace brindle
