#pragma once
// Boxes and dialogs answered as a player would, from the event loop, while a
// window test waits for something else. A dialog nobody answers fails the
// test after five seconds and is closed, so that no test hangs on one.

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace brindle {

using Strings = std::vector<std::string>;

// Every message box is accepted and remembered as "caption: text"; "Send a
// message" gets `typed` and Enter, or the close box; "Strength" gets
// `strength`; a file dialog gets the
// next of `files` (a name and, when not empty, a filter).
class BoxAnswerer {
public:
    BoxAnswerer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != watched_)
                watched_ = modal, watchedSince_.start();
            if (modal && watchedSince_.elapsed() > 5000) {
                ADD_FAILURE() << "a dialog (" << modal->windowTitle().toStdString() << ") stayed open for 5 s";
                modal->close();
            }
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
                } else if (dialog->objectName() == "frmStrength") {
                    auto* slider = dialog->findChild<QSlider*>("sldStrength");
                    strengthTitle = dialog->windowTitle();
                    strength > 0 ? slider->setValue(strength), dialog->accept() : dialog->reject();
                } else if (auto* files = qobject_cast<QFileDialog*>(w); files && !this->files.empty()) {
                    answerFile(*files);
                    continue; // it may take more than one try
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
    // The step "Strength" is set to and accepted; 0 cancels it.
    int strength = 0;
    QString strengthTitle; // the strength dialog's title, once it has shown
    std::deque<std::pair<QString, QString>> files;

private:
    void answerFile(QFileDialog& dialog)
    {
        const auto [name, filter] = files.front();
        if (!filter.isEmpty())
            dialog.selectNameFilter(filter);
        // Typed into the name field, as a player does: selectFile() leaves that field alone
        // once it has the focus, and then the dialog would have no file to accept.
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText(name);
        static_cast<QDialog&>(dialog).accept();
        if (!dialog.isVisible())
            files.pop_front();
    }

    QTimer timer_;
    QList<QPointer<QDialog>> answered_;
    QWidget* watched_ = nullptr; // the modal widget last seen, and since when
    QElapsedTimer watchedSince_;
};

} // namespace brindle
