#pragma once
// The two windows of the Help menu: About (title, version, credits) and Help
// (how a game is won). Both are modal, rebuild their texts each time they
// open and keep nothing.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace brindle {

class AboutDialog final : public QDialog {
public:
    explicit AboutDialog(QWidget* parent);
    void Form_Load();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblMail = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;
};

class HelpDialog final : public QDialog {
public:
    explicit HelpDialog(QWidget* parent);
    void Form_Load();

    QPlainTextEdit* txtTekst = nullptr;
    QPushButton* cmdOK = nullptr;
};

// "Version 1.4.0": major, minor and revision of the build's version.
QString versionText();

} // namespace brindle
