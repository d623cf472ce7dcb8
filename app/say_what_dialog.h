#pragma once
// "Send a message": one line of text to the other player of a network game.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brindle {

class NetSession;

class SayWhatDialog final : public QDialog {
public:
    SayWhatDialog(NetSession& session, QWidget* parent);

    // Sends the text as typed (an empty one goes nowhere) and closes.
    void comSend_Click();

    QLabel* Label1 = nullptr;
    QLineEdit* txtMessage = nullptr;
    QPushButton* comSend = nullptr;

private:
    NetSession& session_;
};

} // namespace brindle
