#include "network_dialog.h"

#include <charconv>
#include <optional>
#include <string_view>

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "platform/avahi.h"
#include "app/opponent_dialog.h"
#include "net/saved_hosts.h"
#include "app/twips.h"
#include "platform/qt_helpers.h"

namespace brindle {

namespace {

constexpr const char* CantConnect = "Can't connect.";
constexpr const char* AppTitle = "Brindle";

// Settings files can be edited by hand: anything but a whole number in range
// reads as nothing.
std::optional<int> wholeNumber(std::string_view text, int lowest, int highest)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

// Why hosting failed and what the player can do about it.
std::string listenErrorText(Transport::ListenError error, uint16_t port)
{
    const std::string p = std::to_string(port);
    switch (error) {
    case Transport::ListenError::InUse:
        return "Port " + p +
               " is in use by another program.\n\nClose the other program, or choose another port with the setting "
               "\"Port\" or the option --port.";
    case Transport::ListenError::NotPermitted:
        return "This system does not let Brindle use port " + p +
               ".\n\nRun scripts/run once as root, or give the program the right with:\n"
               "  sudo setcap cap_net_bind_service=+ep " +
               QCoreApplication::applicationFilePath().toStdString() +
               "\nor choose a port above 1023 with the option --port.";
    case Transport::ListenError::Other:
    case Transport::ListenError::None:
        break;
    }
    return "Brindle cannot listen on port " + p +
           ".\n\nThe network may not be ready, or the system keeps the port for itself; try again, or choose "
           "another port with the setting \"Port\" or the option --port.";
}

} // namespace

NetworkDialog::NetworkDialog(Game& game, NetSession& session, Globals& globals, SettingsStore& settings,
                             Dialogs& dialogs, std::string localIP, QWidget* parent)
    : QDialog(parent), game_(game), session_(session), globals_(globals), settings_(settings), dialogs_(dialogs),
      localIP_(std::move(localIP))
{
    setObjectName(QStringLiteral("frmNetwork"));
    setWindowTitle(QStringLiteral("Network game"));
    setFixedSize(twipsToPixels(12975), twipsToPixels(3975));
    // The positions are made for a small, narrow face, as on the main window.
    setFont(QFont(QStringLiteral("Arial"), 8));
    buildControls();
    Form_Load();
}

void NetworkDialog::buildControls()
{
    Label1 = place(new QLabel(QStringLiteral("My IP:"), this), "Label1", 2400, 120, 495, 255);
    lblIP = place(new QLabel(this), "lblIP", 3000, 120, 1695, 255);

    Frame1 = place(new QGroupBox(QStringLiteral("Host"), this), "Frame1", 120, 360, 7215, 1455);
    Label3 = place(new QLabel(QStringLiteral("As host you will be the player in control. You can start new games "
                                             "and will be red."),
                              Frame1),
                   "Label3", 240, 360, 1815, 855);
    Label3->setWordWrap(true);
    Label5 = place(new QLabel(QStringLiteral("I will be known as:"), Frame1), "Label5", 2280, 360, 1335, 255);
    txtHostAm = place(new QLineEdit(QStringLiteral("test"), Frame1), "txtHostAm", 3720, 320, 1575, 285);
    booTime = place(new QCheckBox(QStringLiteral("Timelimit"), Frame1), "booTime", 2220, 840, 1035, 375);
    struct OptionPlace {
        const char* name;
        const char* text;
        int left;
        int top;
    };
    constexpr std::array<OptionPlace, 4> options = {{
        {"Option1_0", "30 sec.", 3600, 840},
        {"Option1_1", "1 min.", 4560, 840},
        {"Option1_2", "2 min.", 3600, 1080},
        {"Option1_3", "5 min.", 4560, 1080},
    }};
    // A little wider than drawn, so that "30 sec." keeps its period; the
    // next column starts 960 twips on, so nothing overlaps.
    constexpr int OptionWidth = 900;
    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    for (size_t i = 0; i < options.size(); ++i) {
        const OptionPlace& o = options[i];
        Option1[i] =
            place(new QRadioButton(QString::fromLatin1(o.text), Frame1), o.name, o.left, o.top, OptionWidth, 255);
        optionGroup_->addButton(Option1[i], static_cast<int>(i));
    }
    Option1[1]->setChecked(true);
    comHost = place(new QPushButton(QStringLiteral("&Host game"), Frame1), "comHost", 5520, 360, 1455, 855);

    Frame2 = place(new QGroupBox(QStringLiteral("Player"), this), "Frame2", 120, 1920, 7215, 1455);
    Label4 = place(new QLabel(QStringLiteral("You can join a game if another player on the net is hosting a game. "
                                             "You will be blue."),
                              Frame2),
                   "Label4", 240, 360, 1815, 855);
    Label4->setWordWrap(true);
    Label6 = place(new QLabel(QStringLiteral("I will be known as:"), Frame2), "Label6", 2280, 360, 1335, 255);
    txtPlayerAm = place(new QLineEdit(Frame2), "txtPlayerAm", 3720, 320, 1575, 285);
    Label2 = place(new QLabel(QStringLiteral("Host IP or name:"), Frame2), "Label2", 2280, 915, 1335, 255);
    txtHostIP = place(new QLineEdit(Frame2), "txtHostIP", 3720, 890, 1575, 285);
    comJoin = place(new QPushButton(QStringLiteral("&Join game"), Frame2), "comJoin", 5520, 320, 1455, 615);
    Command2 = place(new QPushButton(QStringLiteral("&Load"), Frame2), "Command2", 5520, 960, 735, 255);
    Command1 = place(new QPushButton(QStringLiteral("&Save"), Frame2), "Command1", 6240, 960, 735, 255);

    CancelButton = place(new QPushButton(QStringLiteral("&Cancel"), this), "CancelButton", 5640, 3480, 1455, 375);

    Frame3 = place(new QGroupBox(QStringLiteral("Games on this network"), this), "Frame3", 7455, 360, 5400, 3015);
    lstGames = place(new QListWidget(Frame3), "lstGames", 120, 300, 5160, 2595);
    lstGames->setAccessibleName(QStringLiteral("Games on this network"));
    connect(lstGames, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { lstGames_Click(item); });
    connect(lstGames, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { lstGames_Click(item); });
    connect(lstGames, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { lstGames_DblClick(item); });
    // Enter on a chosen game joins it, as a double click does.
    lstGames->installEventFilter(this);
    browser_ = new AvahiBrowser(QDBusConnection::systemBus(), this);
    browser_->onChanged = [this] { showGames(); };
    // A screen reader would name every field after its frame ("Host",
    // "Player"); each gets a name of its own.
    txtHostAm->setAccessibleName(QStringLiteral("Host name"));
    txtPlayerAm->setAccessibleName(QStringLiteral("Your name"));
    txtHostIP->setAccessibleName(QStringLiteral("Host address"));
    booTime->setAccessibleName(QStringLiteral("Time limit"));
    for (QRadioButton* o : Option1)
        o->setAccessibleName(o->text());

    Label5->setBuddy(txtHostAm);
    Label6->setBuddy(txtPlayerAm);
    Label2->setBuddy(txtHostIP);

    // Enter in a field does what that field is for, never what a default
    // button would.
    for (QPushButton* b : {comHost, comJoin, Command2, Command1, CancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(booTime, &QCheckBox::toggled, this, [this] { booTime_Click(); });
    connect(comHost, &QPushButton::clicked, this, [this] { comHost_Click(); });
    connect(comJoin, &QPushButton::clicked, this, [this] { comJoin_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    connect(txtHostAm, &QLineEdit::returnPressed, this, [this] { txtHostAm_KeyDown(Qt::Key_Return); });
    connect(txtHostIP, &QLineEdit::returnPressed, this, [this] { txtHostIP_KeyDown(Qt::Key_Return); });
    connect(txtPlayerAm, &QLineEdit::returnPressed, this, [this] { txtPlayerAm_KeyDown(Qt::Key_Return); });
    txtHostIP->installEventFilter(this);
    txtPlayerAm->installEventFilter(this);
}

void NetworkDialog::Form_Load()
{
    lblIP->setText(toQString(localIP_));
    txtHostIP->setText(toQString(settings_.read("JoinIP", "")));
    showGames();
    txtPlayerAm->setText(toQString(settings_.read("PlayerAm", "")));
    booTime->setChecked(settings_.read("Time", "0") == "1");
    booTime_Click();
    const int option = wholeNumber(settings_.read("Timelimit", "1"), 0, 3).value_or(1);
    Option1[static_cast<size_t>(option)]->setChecked(true);
    const std::string hostAm = settings_.read("HostAm", "");
    if (!hostAm.empty())
        txtHostAm->setText(toQString(hostAm));
}

void NetworkDialog::showGames()
{
    const QString chosen = lstGames->currentItem() != nullptr ? lstGames->currentItem()->data(Qt::UserRole).toString()
                                                              : QString();
    const QSignalBlocker quiet(lstGames);
    lstGames->clear();
    auto greyLine = [this](const char* text) {
        auto* line = new QListWidgetItem(QString::fromLatin1(text), lstGames);
        line->setFlags(Qt::NoItemFlags);
    };
    if (browser_->status() == AvahiBrowser::Status::Unavailable) {
        greyLine(NoDiscoveryText);
        return;
    }
    if (browser_->games().entries().empty()) {
        greyLine(LookingText);
        return;
    }
    for (const auto& [key, found] : browser_->games().entries()) {
        auto* line = new QListWidgetItem(toQString(discovery::listLine(found)), lstGames);
        line->setData(Qt::UserRole, toQString(discovery::hostField(found)));
        // A game already under way cannot be joined: it is shown greyed.
        if (!found.waiting)
            line->setFlags(Qt::NoItemFlags);
        else if (!chosen.isEmpty() && line->data(Qt::UserRole).toString() == chosen)
            lstGames->setCurrentItem(line);
    }
}

bool NetworkDialog::lstGames_Click(QListWidgetItem* item)
{
    if (item == nullptr || !(item->flags() & Qt::ItemIsEnabled))
        return false;
    const QString field = item->data(Qt::UserRole).toString();
    if (field.isEmpty())
        return false;
    txtHostIP->setText(field);
    return true;
}

void NetworkDialog::lstGames_DblClick(QListWidgetItem* item)
{
    if (lstGames_Click(item))
        comJoin_Click();
}

void NetworkDialog::booTime_Click()
{
    for (QRadioButton* o : Option1)
        o->setEnabled(booTime->isChecked());
}

int NetworkDialog::selectedOption() const
{
    for (size_t i = 0; i < Option1.size(); ++i)
        if (Option1[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void NetworkDialog::showBox(const std::string& text, const char* caption, Dialogs::Icon icon)
{
    dialogs_.messageBox(text, caption, icon);
}

void NetworkDialog::comHost_Click()
{
    // Hosting now would close the connection a join is still proving and turn
    // this copy into a host under the joiner's feet.
    if (session_.joining())
        return;
    globals_.TimeLimitOn = false;
    const int option = selectedOption();
    if (booTime->isChecked() && option >= 0) {
        globals_.TimeLimitSec = OptionSeconds[static_cast<size_t>(option)];
        globals_.TimeLimitOn = true;
    }
    globals_.NetRole = "HOST";
    globals_.NetPending = true;
    if (txtHostAm->text().isEmpty()) {
        showBox("You need to apply your name.", CantConnect, Dialogs::Icon::Information);
        txtHostAm->setFocus();
        return;
    }
    const Transport::ListenError error = session_.host(txtHostAm->text().toStdString());
    if (error != Transport::ListenError::None) {
        showBox(listenErrorText(error, session_.listenPort), AppTitle, Dialogs::Icon::Information);
        return;
    }
    settings_.write("Time", booTime->isChecked() ? "1" : "0");
    settings_.write("Timelimit", std::to_string(option >= 0 ? option : 0));
    settings_.write("HostAm", txtHostAm->text().toStdString());
    accept();
}

void NetworkDialog::comJoin_Click()
{
    globals_.NetRole = "CLIENT";
    globals_.NetPending = true;
    if (txtHostIP->text().isEmpty()) {
        showBox("You need to apply Hosts IP.", CantConnect, Dialogs::Icon::Information);
        txtHostIP->setFocus();
        return;
    }
    if (txtPlayerAm->text().isEmpty()) {
        showBox("You need to apply your name.", CantConnect, Dialogs::Icon::Information);
        txtPlayerAm->setFocus();
        return;
    }
    if (session_.joining())
        return;
    setCursor(Qt::WaitCursor);
    // Serves events for up to half a minute; Cancel stays usable meanwhile.
    const NetSession::JoinResult result = session_.join(txtHostIP->text().toStdString(),
                                                        txtPlayerAm->text().toStdString());
    unsetCursor();
    switch (result) {
    case NetSession::JoinResult::Connected:
        accept();
        break;
    case NetSession::JoinResult::Failed:
        // The dialog stays so the join can be tried again.
        showBox("Host not ready or connection not possible.", AppTitle, Dialogs::Icon::None);
        break;
    case NetSession::JoinResult::Cancelled:
        // Cancel has closed the dialog already.
        break;
    }
}

void NetworkDialog::Command1_Click()
{
    txtHostIP->setText(txtHostIP->text().trimmed());
    if (txtHostIP->text().isEmpty()) {
        showBox("You need to apply a host IP/name before saving.", "Can't save.", Dialogs::Icon::Information);
        txtHostIP->setFocus();
        return;
    }
    const std::string name = dialogs_.inputBox("Name of saving:", "Save Host IP/name", "");
    if (name.empty())
        return;
    SavedHosts(settings_).add(txtHostIP->text().toStdString(), name);
}

void NetworkDialog::Command2_Click()
{
    OpponentDialog list(settings_, *txtHostIP, this);
    list.exec();
}

void NetworkDialog::CancelButton_Click()
{
    if (cancelling_)
        return;
    cancelling_ = true;
    if (session_.joining())
        session_.cancelJoin();
    game_.check(Menu_Network, false);
    game_.check(Menu_HumanComputer, true);
    // The new game's wipe serves events; the dialog is still on screen then.
    // A Cancel pressed while the host's first game is being set up waits
    // for that to finish rather than wipe inside it.
    Game& game = game_;
    game.runWhenSettled([&game] { game.Menu_New_Click(); });
    QDialog::reject();
    cancelling_ = false;
}

void NetworkDialog::reject()
{
    CancelButton_Click();
}

void NetworkDialog::txtHostAm_KeyDown(int KeyCode)
{
    if (KeyCode == Qt::Key_Return || KeyCode == Qt::Key_Enter)
        comHost_Click();
}

void NetworkDialog::txtHostIP_KeyDown(int KeyCode)
{
    if (KeyCode == Qt::Key_Return || KeyCode == Qt::Key_Enter)
        comJoin_Click();
}

void NetworkDialog::txtPlayerAm_KeyDown(int KeyCode)
{
    if (KeyCode == Qt::Key_Return || KeyCode == Qt::Key_Enter)
        comJoin_Click();
}

void NetworkDialog::txtHostIP_GotFocus()
{
    unsetCursor();
}

void NetworkDialog::txtPlayerAm_GotFocus()
{
    unsetCursor();
}

bool NetworkDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstGames && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            lstGames_DblClick(lstGames->currentItem());
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtHostIP)
            txtHostIP_GotFocus();
        else if (watched == txtPlayerAm)
            txtPlayerAm_GotFocus();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brindle
