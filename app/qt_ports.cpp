#include "qt_ports.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

namespace brindle {

QString toQString(std::string_view s)
{
    // The game breaks lines as "\r\n"; Qt wants one character for it.
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void serveEventsUntil(int milliseconds, const std::function<bool()>& done)
{
    // The timer makes sure an event comes when the time is up.
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timeUp = false;
    QObject::connect(&deadline, &QTimer::timeout, [&timeUp] { timeUp = true; });
    deadline.start(milliseconds);
    while (!timeUp && !done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void MessageBoxes::messageBox(std::string_view text, std::string_view caption, Icon icon)
{
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::NoIcon, toQString(caption),
                    toQString(text), QMessageBox::Ok, parent_);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

std::string MessageBoxes::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText)
{
    QInputDialog box(parent_);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(toQString(title));
    box.setLabelText(toQString(prompt));
    box.setTextValue(toQString(defaultText));
    if (box.exec() != QDialog::Accepted)
        return {};
    return box.textValue().toStdString();
}

} // namespace brindle
