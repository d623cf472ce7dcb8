// The Qt side of the ports that the network dialogs and session use: message
// and input boxes over one window, and the per-user settings store.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "app/qt_ports.h"
#include "app/settings.h"

namespace brindle::testing {
namespace {

// Runs `answer` on the first dialog of type T that opens over `parent`.
template <class T, class Answer>
void whenShown(QWidget& parent, Answer answer)
{
    auto* poll = new QTimer(&parent);
    QObject::connect(poll, &QTimer::timeout, &parent, [&parent, poll, answer] {
        if (auto* box = parent.findChild<T*>(); box && box->isVisible()) {
            poll->deleteLater();
            answer(box);
        }
    });
    poll->start(10);
}

TEST(MessageBoxes, ShowTheirTextCaptionAndIconAndAnInputBoxGivesTheAnswerOrNothingWhenCancelled)
{
    QWidget window;
    MessageBoxes boxes(&window);
    QString seen;
    whenShown<QMessageBox>(window, [&](QMessageBox* box) {
        seen = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon());
        box->accept();
    });
    boxes.messageBox("You need to apply your name.", "Can't connect.", Dialogs::Icon::Information);
    EXPECT_EQ(seen, QString("Can't connect.|You need to apply your name.|%1").arg(QMessageBox::Information));

    whenShown<QInputDialog>(window, [&](QInputDialog* box) {
        seen = box->windowTitle() + "|" + box->labelText() + "|" + box->textValue();
        box->setTextValue("Ann's machine");
        box->accept();
    });
    EXPECT_EQ(boxes.inputBox("Name of saving:", "Save Host IP/name", "old"), "Ann's machine");
    EXPECT_EQ(seen, "Save Host IP/name|Name of saving:|old");
    whenShown<QInputDialog>(window, [](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(boxes.inputBox("Name of saving:", "Save Host IP/name", "old"), "");
}

TEST(QtSettings, KeepsTextByKeyAcrossInstancesRemovesKeysAndGivesTheDefaultForWhatIsAbsent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    {
        QtSettings store;
        store.write("IPNumber", "2");
        store.write("IP1", "192.168.1.20");
        store.write("IPname1", "Ann, upstairs");
        store.write("HostAm", "");
    }
    QtSettings store;
    EXPECT_EQ(store.read("IPNumber", "0"), "2");
    EXPECT_EQ(store.read("IPname1", ""), "Ann, upstairs");
    EXPECT_EQ(store.read("HostAm", "Host"), "") << "an empty text is a value";
    EXPECT_EQ(store.read("IP2", "none"), "none");
    store.remove("IP1");
    EXPECT_EQ(QtSettings().read("IP1", "gone"), "gone");
    // The keys are those of the program's own section.
    QSettings("Brin", "Brin").setValue("Other/IP9", "x");
    std::vector<std::string> keys = store.keys();
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::string>{"HostAm", "IPNumber", "IPname1"}));

    // A hand-edited file may hold a comma without quotes: the text comes back whole.
    QSettings("Brin", "Brin").setValue("Settings/PlayerAm", QStringList{"Bo", "Kim"});
    EXPECT_EQ(QtSettings().read("PlayerAm", ""), "Bo, Kim");
}

} // namespace
} // namespace brindle::testing
