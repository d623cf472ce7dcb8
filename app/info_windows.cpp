#include "info_windows.h"

#include <iterator>
#include <string>

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/qt_helpers.h"
#include "game/version.h"
#include "app/twips.h"
#include "app/pictures.h"

namespace brindle {

namespace {

const QString AppTitle = QStringLiteral("Brindle");
// Lines of the texts are joined as the game has always joined them.
const std::string LineBreak = "\r\n";

QFrame* decorativeLine(QWidget* parent, const char* name, int top)
{
    auto* line = place(new QFrame(parent), name, 120, top, 5295, 30);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QString versionText()
{
    return QStringLiteral("Version ") + QString::fromLatin1(VersionText);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(twipsToPixels(5535), twipsToPixels(3585));

    picIcon = place(new QLabel(this), "picIcon", 240, 240, 540, 540);
    picIcon->setPixmap(gameIcon().pixmap(32, 32));
    lblTitle = place(new QLabel(this), "lblTitle", 1050, 240, 4245, 480);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 4);
    lblTitle->setFont(bold);
    lblVersion = place(new QLabel(this), "lblVersion", 1050, 780, 4245, 225);
    lblDescription = place(new QLabel(this), "lblDescription", 1050, 1125, 4245, 1170);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    decorativeLine(this, "Line1", 2400);
    lblMail = place(new QLabel(this), "lblMail", 240, 2625, 5055, 255);
    Label1 = place(new QLabel(QStringLiteral(" "), this), "Label1", 240, 2940, 255, 255);
    decorativeLine(this, "Line2", 3015);
    cmdOK = place(new QPushButton(QStringLiteral("&OK"), this), "cmdOK", 4125, 3090, 1260, 345);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load();
}

void AboutDialog::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + AppTitle);
    lblVersion->setText(versionText());
    lblTitle->setText(AppTitle);
    std::string credits = "A fun little game created by:" + LineBreak;
    credits += LineBreak + "Programmer: the Brindle team";
    credits += LineBreak + "Pictures and sounds: the Brindle team";
    lblDescription->setText(toQString(credits));
    lblMail->setText(QStringLiteral("Ideas and bugs: the project's issue tracker."));
}

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setModal(true);
    setWindowTitle(QStringLiteral("Help"));
    setFixedSize(twipsToPixels(7500), twipsToPixels(3720));
    txtTekst = place(new QPlainTextEdit(this), "txtTekst", 120, 120, 7260, 2895);
    txtTekst->setAccessibleName(QStringLiteral("Help text"));
    txtTekst->setReadOnly(true);
    cmdOK = place(new QPushButton(QStringLiteral("&OK"), this), "cmdOK", 6120, 3180, 1260, 375);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load();
}

void HelpDialog::Form_Load()
{
    const char* const lines[] = {
        "What 'Brindle' is all about.",
        "",
        "It is pretty simple, all you have to do is to get",
        "five pieces in an unbroken line, across, down or diagonally, before",
        "your opponent.",
        "",
        "Be aware, that when your opponent has three in a row",
        "you have to block it, otherwise it might be too late.",
        "",
        "Have fun!",
    };
    std::string text = lines[0];
    for (size_t i = 1; i < std::size(lines); ++i)
        text += LineBreak + lines[i];
    txtTekst->setPlainText(toQString(text));
}

} // namespace brindle
