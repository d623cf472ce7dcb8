#pragma once
// Boxes and the chat dialog answered as a player would, from the event loop,
// while a window test waits for something else.

#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace brindle {

using Strings = std::vector<std::string>;

// Answers every box as a player would and remembers what it said; "Send a
// message" gets `typed` and Enter, or the close box.
class BoxAnswerer {
public:
    BoxAnswerer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(w);
                if (dialog == nullptr || !dialog->isVisible() || answered_.contains(dialog))
                    continue;
                if (auto* box = qobject_cast<QMessageBox*>(w)) {
                    seen.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
                    box->accept();
                } else if (dialog->objectName() == "frmSayWhat") {
                    auto* message = dialog->findChild<QLineEdit*>("txtMessage");
                    message->insert(typed);
                    closeMessage ? (void)dialog->close() : QTest::keyClick(message, Qt::Key_Return);
                } else {
                    continue;
                }
                answered_.append(dialog);
            }
        });
        timer_.start(10);
    }
    Strings seen;
    QString typed;
    bool closeMessage = false;

private:
    QTimer timer_;
    QList<QPointer<QDialog>> answered_;
};

} // namespace brindle
