#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>

#include "view/board_view.h"
#include "view/layout.h"
#include "view/pictures.h"
#include "view/piece_size.h"

namespace brindle {

namespace {

// Outer height not part of the board surface: frame, title bar and menu bar.
constexpr int32_t FrameHeight = 625;

QString Text(const std::string& s)
{
    return QString::fromStdString(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QRect Pixels(const Control& c)
{
    return {ToPixels(c.Left), ToPixels(c.Top), ToPixels(c.Width), ToPixels(c.Height)};
}

void Place(QWidget* w, const Control& c)
{
    const QRect r = Pixels(c);
    if (w->geometry() != r)
        w->setGeometry(r);
    if (w->isVisibleTo(w->parentWidget()) != c.Visible)
        w->setVisible(c.Visible);
}

void SetBackground(QWidget* w, Colour colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, ToQColor(colour));
    p.setColor(QPalette::Base, ToQColor(colour));
    w->setPalette(p);
}

} // namespace

MainWindow::MainWindow(Globals& globals, QWidget* parent)
    : QMainWindow(parent), board_(new BoardView(this)), game_(globals, *board_, *this, random_)
{
    setObjectName("frmMain");
    setWindowIcon(WindowIcon());
    setCentralWidget(board_);
    // The smallest outer window is 4600 x 5000 twips.
    board_->setMinimumSize(ToPixels(MinWindowWidth - WidthAllowance), ToPixels(MinWindowHeight - FrameHeight));
    board_->onMouseDown = [this](float x, float y) { BoardMouseDown(x, y); };
    board_->onResized = [this] { BoardResized(); };

    BuildControls();
    BuildMenus();
    timer3_.setObjectName(QStringLiteral("Timer3"));
    connect(&timer3_, &QTimer::timeout, this, [this] {
        game_.Timer3_Timer();
        Render();
    });

    game_.Form_Load();
    Render();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    move(screen.center() - rect().center());
}

MainWindow::~MainWindow()
{
    ShowBusy(false);
}

void MainWindow::ShowBusy(bool busy)
{
    // The hourglass shows over every control, text boxes included.
    if (busy == busyShown_)
        return;
    busyShown_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void MainWindow::BuildControls()
{
    // The controls' sizes are made for a small, narrow face.
    board_->setFont(QFont(QStringLiteral("Arial"), 8));
    auto label = [this](const char* name, Qt::Alignment align) {
        auto* l = new QLabel(board_);
        l->setObjectName(name);
        l->setAlignment(align);
        return l;
    };
    lblHvisTur_ = label("lblHvisTur", Qt::AlignCenter);
    lblPlacer_ = label("lblPlacer", Qt::AlignLeft | Qt::AlignTop);
    lblTraek_ = label("lblTraek", Qt::AlignRight | Qt::AlignTop);
    lblComp_ = label("lblComp", Qt::AlignHCenter | Qt::AlignTop);
    lblMoves_ = label("lblMoves", Qt::AlignHCenter | Qt::AlignTop);

    lblDraw_ = label("lblDraw", Qt::AlignCenter);
    lblDraw_->setWordWrap(true);
    lblDraw_->setFont(QFont(QStringLiteral("Arial"), 48, QFont::Bold));
    lblDraw_->setAutoFillBackground(true);
    QPalette banner = lblDraw_->palette();
    banner.setColor(QPalette::Window, palette().color(QPalette::Base));
    banner.setColor(QPalette::WindowText, Qt::black);
    lblDraw_->setPalette(banner);

    txtTime_ = new QLineEdit(board_);
    txtTime_->setObjectName("txtTime");
    txtTime_->setReadOnly(true);
    txtTime_->setAlignment(Qt::AlignCenter);
    txtTime_->setFocusPolicy(Qt::NoFocus);
    SetBackground(txtTime_, BackColour);

    // The turn text may reach under the time box; it stays readable above it.
    lblPlacer_->raise();

    txtMoves_ = new QPlainTextEdit(board_);
    txtMoves_->setObjectName("txtMoves");
    txtMoves_->setReadOnly(true);
    txtMoves_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMoves_->setFocusPolicy(Qt::ClickFocus);
    SetBackground(txtMoves_, BackColour);

    auto marker = [this](const char* name, ArrowDirection direction) {
        auto* l = new QLabel(board_);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setPixmap(ArrowPixmap(direction));
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        return l;
    };
    imgLeft_ = marker("imgLeft", ArrowDirection::Left);
    imgUp_ = marker("imgUp", ArrowDirection::Up);
}

QMenu* MainWindow::AddMenu(MenuId id, const char* caption)
{
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(caption).remove('&'));
    actions_[id] = menu->menuAction();
    return menu;
}

QAction* MainWindow::AddItem(QMenu* menu, MenuId id, const char* caption, QKeySequence key, bool checkable)
{
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setShortcut(key);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, id] { Command(id); });
    actions_[id] = a;
    return a;
}

void MainWindow::BuildMenus()
{
    QMenu* game = AddMenu(Menu_Game, "&Game");
    AddItem(game, Menu_New, "&New game", Qt::Key_F2);
    game->addSeparator();
    AddItem(game, Menu_Undo, "&Undo", Qt::Key_Delete);
    AddItem(game, Menu_RejectUndo, "&Reject undo", Qt::Key_F9);
    game->addSeparator();
    AddItem(game, Menu_Details, "&Details", Qt::Key_F3, true);
    QMenu* piece = game->addMenu(QStringLiteral("&Piecesize"));
    actions_[Menu_Piece] = piece->menuAction();
    AddItem(piece, Menu_PieceSmall, "&Small", Qt::CTRL | Qt::Key_A, true);
    AddItem(piece, Menu_PieceNormal, "&Normal", Qt::CTRL | Qt::Key_B, true);
    AddItem(piece, Menu_PieceFull, "&Full", Qt::CTRL | Qt::Key_C, true);
    AddItem(game, Menu_Autodraw, "&Autodraw", Qt::Key_F4);
    game->addSeparator();
    AddItem(game, Menu_Sound, "&Sound", Qt::Key_F5, true);
    AddItem(game, Menu_Music, "&Music", Qt::Key_F6, true);
    game->addSeparator();
    AddItem(game, Menu_exit, "&Exit", Qt::Key_F12);

    QMenu* players = AddMenu(Menu_Players, "&Players");
    AddItem(players, Menu_HumanHuman, "Human vs. Human", Qt::CTRL | Qt::Key_F1, true);
    AddItem(players, Menu_HumanComputer, "Human vs. Computer", Qt::CTRL | Qt::Key_F2, true);
    AddItem(players, Menu_ComputerComputer, "Computer vs. Computer", Qt::CTRL | Qt::Key_F3, true);
    AddItem(players, Menu_Network, "Network game", Qt::CTRL | Qt::Key_F4, true);
    AddItem(players, Menu_Send, "Send message");

    QMenu* level = AddMenu(Menu_Computer, "&Computerlevel");
    AddItem(level, Menu_Stupid, "&Stupid", {}, true);
    AddItem(level, Menu_Easy, "&Easy", {}, true);
    AddItem(level, Menu_Normal, "&Medium", {}, true);
    AddItem(level, Menu_Hard, "&Hard", {}, true);

    QMenu* help = AddMenu(Menu_Helpmenu, "&Help");
    AddItem(help, Menu_Help, "&Help");
    help->addSeparator();
    AddItem(help, Menu_About, "&About");

    QAction* stop = menuBar()->addAction(QStringLiteral("&Stop"));
    connect(stop, &QAction::triggered, this, [this] { Command(Menu_Stop); });
    actions_[Menu_Stop] = stop;
}

void MainWindow::Command(MenuId id)
{
    const auto& menu = game_.ui.Menu;
    // During the short wipe before each automatic game the window takes no
    // input; a Stop chosen then still counts, as soon as the game has begun.
    if (id == Menu_Stop && !game_.ui.Enabled && menu[Menu_Stop].Visible) {
        stopDeferred_ = true;
        return;
    }
    // A disabled window takes no input; neither do the items of a menu that
    // is hidden or greyed (their shortcuts included).
    if (!game_.ui.Enabled || ending_)
        return;
    if (!menu[id].Enabled || !menu[id].Visible)
        return;
    const MenuId top = TopMenuOf(id);
    if (!menu[top].Enabled || !menu[top].Visible)
        return;
    Dispatch(id);
    Render();
}

void MainWindow::Dispatch(MenuId id)
{
    switch (id) {
    case Menu_New: game_.Menu_New_Click(); break;
    case Menu_Undo: game_.Menu_Undo_Click(); break;
    case Menu_RejectUndo: game_.Menu_RejectUndo_Click(); break;
    case Menu_Details: Menu_Details_Click(game_); break;
    case Menu_PieceSmall: Menu_PieceSmall_Click(game_); break;
    case Menu_PieceNormal: Menu_PieceNormal_Click(game_); break;
    case Menu_PieceFull: Menu_PieceFull_Click(game_); break;
    case Menu_Autodraw: game_.Menu_Autodraw_Click(); break;
    case Menu_Sound: game_.Menu_Sound_Click(); break;
    case Menu_exit: Menu_exit_Click(); break;
    case Menu_HumanHuman: game_.Menu_HumanHuman_Click(); break;
    case Menu_HumanComputer: game_.Menu_HumanComputer_Click(); break;
    case Menu_ComputerComputer: game_.Menu_ComputerComputer_Click(); break;
    case Menu_Stupid: game_.Menu_Stupid_Click(); break;
    case Menu_Easy: game_.Menu_Easy_Click(); break;
    case Menu_Normal: game_.Menu_Normal_Click(); break;
    case Menu_Hard: game_.Menu_Hard_Click(); break;
    case Menu_Stop: game_.Menu_Stop_Click(); break;
    default: break; // items of parts not in this build stay greyed
    }
}

void MainWindow::BoardMouseDown(float x, float y)
{
    if (!game_.ui.Enabled || ending_)
        return;
    game_.Form_MouseDown(x, y);
    Render();
}

void MainWindow::BoardResized()
{
    // The game reasons in the window's outer size: the board surface plus a
    // fixed frame. The surface is what the window really has to draw on.
    const QSize px = board_->size();
    Ui& ui = game_.ui;
    ui.Width = px.width() == ToPixels(knownWidth_ - WidthAllowance) ? knownWidth_
                                                                   : px.width() * 15 + WidthAllowance;
    ui.Height = px.height() == ToPixels(knownHeight_ - FrameHeight) ? knownHeight_
                                                                    : px.height() * 15 + FrameHeight;
    knownWidth_ = ui.Width;
    knownHeight_ = ui.Height;
    Form_Resize(game_);
    Render();
}

void MainWindow::ApplySize()
{
    knownWidth_ = game_.ui.Width;
    knownHeight_ = game_.ui.Height;
    const int menuHeight = menuBar()->isVisible() ? menuBar()->height() : menuBar()->sizeHint().height();
    resize(ToPixels(knownWidth_ - WidthAllowance), ToPixels(knownHeight_ - FrameHeight) + menuHeight);
}

void MainWindow::Render()
{
    if (ending_)
        return;
    const Ui& ui = game_.ui;
    if (ui.Width != knownWidth_ || ui.Height != knownHeight_)
        ApplySize();
    if (windowTitle() != QString::fromStdString(ui.Caption))
        setWindowTitle(QString::fromStdString(ui.Caption));

    ShowBusy(ui.MousePointer == PointerHourglass);

    for (int i = 0; i < MenuCount; ++i) {
        QAction* a = actions_[static_cast<size_t>(i)];
        const MenuItem& m = ui.Menu[static_cast<size_t>(i)];
        if (a->isEnabled() != m.Enabled)
            a->setEnabled(m.Enabled);
        if (a->isCheckable() && a->isChecked() != m.Checked)
            a->setChecked(m.Checked);
        if (a->isVisible() != m.Visible)
            a->setVisible(m.Visible);
    }

    const std::array<std::pair<QLabel*, const Control*>, 5> labels = {{{lblHvisTur_, &ui.lblHvisTur},
                                                                       {lblPlacer_, &ui.lblPlacer},
                                                                       {lblTraek_, &ui.lblTraek},
                                                                       {lblComp_, &ui.lblComp},
                                                                       {lblMoves_, &ui.lblMoves}}};
    for (const auto& [label, control] : labels) {
        Place(label, *control);
        const QString text = Text(control->Caption);
        if (label->text() != text)
            label->setText(text);
    }
    Place(lblDraw_, ui.lblDraw);
    const QString banner = Text(ui.lblDraw.Caption);
    if (lblDraw_->text() != banner)
        lblDraw_->setText(banner);
    Place(imgLeft_, ui.imgLeft);
    Place(imgUp_, ui.imgUp);

    const Control& turn = ui.lblHvisTur;
    lblHvisTur_->setAutoFillBackground(turn.BackStyle == 1);
    if (lblHvisTur_->palette().color(QPalette::Window) != ToQColor(turn.BackColor))
        SetBackground(lblHvisTur_, turn.BackColor);
    lblHvisTur_->setFrameShape(turn.BorderStyle == 1 ? QFrame::Box : QFrame::NoFrame);

    Place(txtTime_, ui.txtTime);
    const QString time = Text(ui.txtTime.Caption);
    if (txtTime_->text() != time)
        txtTime_->setText(time);
    Place(txtMoves_, ui.txtMoves);
    // The move list can grow long; it is refilled only when it has changed.
    if (shownMoves_ != ui.txtMoves.Caption) {
        shownMoves_ = ui.txtMoves.Caption;
        txtMoves_->setPlainText(Text(shownMoves_));
    }

    const TimerState& t3 = ui.Timer3;
    const bool run = t3.Enabled && t3.Interval > 0;
    if (run && (!timer3_.isActive() || timer3_.interval() != t3.Interval))
        timer3_.start(t3.Interval);
    else if (!run && timer3_.isActive())
        timer3_.stop();
}

void MainWindow::DoEvents()
{
    if (ending_)
        return;
    if (stopDeferred_ && game_.ui.Enabled) {
        stopDeferred_ = false;
        Command(Menu_Stop);
    }
    Render();
    QCoreApplication::processEvents();
}

void MainWindow::Pause(int milliseconds)
{
    if (ending_)
        return;
    Render();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void MainWindow::Beep()
{
    QApplication::beep();
}

void MainWindow::PlaySound(std::string_view) {}

void MainWindow::Send(std::string_view) {}

void MainWindow::ShowIntro()
{
    // The intro leaves the window 7010 twips wide with the move list shown.
    game_.ui.Width = 7010;
    Render();
    Menu_Details_Click(game_);
    Render();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    QTimer::singleShot(0, this, [this] {
        game_.Form_Activate();
        Render();
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload()
{
    EndProgram();
}

void MainWindow::Menu_exit_Click()
{
    EndProgram();
}

void MainWindow::EndProgram()
{
    // Ends at once: a game being played by the computer winds down without
    // another move, and no timer fires again.
    ending_ = true;
    game_.GameOver = true;
    timer3_.stop();
    ShowBusy(false);
    hide();
    QCoreApplication::quit();
}

} // namespace brindle
