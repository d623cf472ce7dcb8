#include "app/qt_ports.h"

#include <QInputDialog>
#include <QMessageBox>

namespace brindle {

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
