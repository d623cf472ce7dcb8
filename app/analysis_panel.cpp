#include "app/analysis_panel.h"

#include <algorithm>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace brindle {

namespace {

const QColor RedSide(210, 30, 30);
const QColor BlueSide(30, 60, 210);

QString cellText(const std::array<int32_t, 2>& xy)
{
    // The move list's notation: (row,column) from 1.
    return QStringLiteral("(%1,%2)").arg(xy[1] + 1).arg(xy[0] + 1);
}

} // namespace

// The evaluation as a bar: red's share from the left, blue's from the right.
class AnalysisPanel::Bar final : public QWidget {
public:
    explicit Bar(QWidget* parent) : QWidget(parent) { setMinimumHeight(14); }
    void setRedValue(double value)
    {
        value_ = std::clamp(value, -1.0, 1.0);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int split = static_cast<int>(width() * (value_ + 1) / 2);
        p.fillRect(0, 0, split, height(), RedSide);
        p.fillRect(split, 0, width() - split, height(), BlueSide);
        p.setPen(Qt::black);
        p.drawLine(width() / 2, 0, width() / 2, height());
    }

private:
    double value_ = 0;
};

ReviewGraph::ReviewGraph(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(90);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Evaluation graph"));
}

void ReviewGraph::setPositions(std::vector<ReviewedMove> positions)
{
    positions_ = std::move(positions);
    current_ = std::clamp(current_, 0, std::max(0, static_cast<int>(positions_.size()) - 1));
    update();
}

void ReviewGraph::setCurrent(int move)
{
    current_ = std::clamp(move, 0, std::max(0, static_cast<int>(positions_.size()) - 1));
    update();
}

double ReviewGraph::xOf(int move) const
{
    const int last = std::max(1, static_cast<int>(positions_.size()) - 1);
    return 4 + (width() - 8) * static_cast<double>(move) / last;
}

int ReviewGraph::moveAt(double x) const
{
    const int last = std::max(1, static_cast<int>(positions_.size()) - 1);
    const int move = static_cast<int>(std::lround((x - 4) * last / std::max(1, width() - 8)));
    return std::clamp(move, 0, std::max(0, static_cast<int>(positions_.size()) - 1));
}

void ReviewGraph::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const double mid = height() / 2.0;
    const auto yOf = [&](double value) { return mid - value * (height() / 2.0 - 4); };
    p.setPen(QColor(170, 170, 170));
    p.drawLine(QPointF(0, mid), QPointF(width(), mid));
    if (positions_.empty())
        return;
    // Red's ground above the middle, blue's below.
    QPolygonF curve;
    curve << QPointF(xOf(0), mid);
    for (size_t i = 0; i < positions_.size(); ++i)
        curve << QPointF(xOf(static_cast<int>(i)), yOf(positions_[i].value));
    curve << QPointF(xOf(static_cast<int>(positions_.size()) - 1), mid);
    p.setPen(Qt::NoPen);
    p.setClipRect(0, 0, width(), static_cast<int>(mid));
    p.setBrush(QColor(230, 120, 120));
    p.drawPolygon(curve);
    p.setClipRect(0, static_cast<int>(mid), width(), height());
    p.setBrush(QColor(120, 140, 230));
    p.drawPolygon(curve);
    p.setClipping(false);
    for (size_t i = 0; i < positions_.size(); ++i) {
        if (positions_[i].mark == 0)
            continue;
        p.setBrush(positions_[i].mark == 2 ? QColor(200, 0, 0) : QColor(240, 150, 0));
        p.setPen(Qt::black);
        p.drawEllipse(QPointF(xOf(static_cast<int>(i)), yOf(positions_[i].value)), 4, 4);
    }
    p.setPen(QPen(hasFocus() ? Qt::black : Qt::darkGray, hasFocus() ? 2 : 1));
    p.drawLine(QPointF(xOf(current_), 0), QPointF(xOf(current_), height()));
}

void ReviewGraph::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (onPick && !positions_.empty())
        onPick(moveAt(event->position().x()));
}

void ReviewGraph::keyPressEvent(QKeyEvent* event)
{
    const int last = static_cast<int>(positions_.size()) - 1;
    int move = current_;
    switch (event->key()) {
    case Qt::Key_Left: move = current_ - 1; break;
    case Qt::Key_Right: move = current_ + 1; break;
    case Qt::Key_Home: move = 0; break;
    case Qt::Key_End: move = last; break;
    default: return QWidget::keyPressEvent(event);
    }
    if (last >= 0 && onPick)
        onPick(std::clamp(move, 0, last));
}

AnalysisPanel::AnalysisPanel(QWidget* parent) : QDockWidget(QStringLiteral("Analysis"), parent)
{
    setObjectName(QStringLiteral("analysisPanel"));
    setFeatures(QDockWidget::DockWidgetClosable);
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    bar_ = new Bar(body);
    verdict_ = new QLabel(body);
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);
    stats_ = new QLabel(body);
    line_ = new QLabel(body);
    line_->setWordWrap(true);
    line_->setToolTip(QStringLiteral("Point here to see the line on the board."));
    line_->installEventFilter(this);
    candidates_ = new QLabel(body);
    status_ = new QLabel(body);
    status_->setWordWrap(true);
    progress_ = new QProgressBar(body);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), body);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (onCancelReview)
            onCancelReview();
    });
    graph_ = new ReviewGraph(body);
    mistakes_ = new QListWidget(body);
    mistakes_->setAccessibleName(QStringLiteral("Mistakes"));
    connect(mistakes_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (graph_->onPick)
            graph_->onPick(item->data(Qt::UserRole).toInt());
    });
    for (QWidget* w : std::initializer_list<QWidget*>{bar_, verdict_, stats_, line_, candidates_, status_, progress_, cancel_, graph_, mistakes_})
        column->addWidget(w);
    column->addStretch();
    setWidget(body);
    // A fixed width, so that what it shows never takes room from the board.
    body->setFixedWidth(250);
    mistakes_->setWordWrap(true);
    candidates_->setWordWrap(true);
    clearReview();
}

void AnalysisPanel::showThinking(const engine::Thinking& t, int moves, bool redToMove)
{
    bar_->setRedValue(engine::redValue(t.eval, redToMove));
    verdict_->setText(QString::fromStdString(engine::verdict(t.eval, redToMove) + "   " + engine::figure(t.eval)));
    const double seconds = t.elapsed.count() / 1000.0;
    const double perSecond = seconds > 0 ? t.nodes / seconds : 0;
    stats_->setText(QStringLiteral("Depth %1 · %2 kN/s · %3 s")
                        .arg(t.depth)
                        .arg(perSecond / 1000, 0, 'f', 0)
                        .arg(seconds, 0, 'f', 1));
    QStringList line;
    for (size_t i = 0; i < t.line.size(); ++i)
        line << QStringLiteral("%1: %2").arg(moves + 1 + static_cast<int>(i)).arg(cellText(t.line[i]));
    line_->setText(QStringLiteral("Best line: ") + line.join(QStringLiteral("  ")));
    QStringList best;
    for (size_t i = 0; i < t.candidates.size(); ++i)
        best << QStringLiteral("%1. %2   %3")
                    .arg(i + 1)
                    .arg(cellText({t.candidates[i].x, t.candidates[i].y}))
                    .arg(QString::fromStdString(engine::figure(t.candidates[i].eval)));
    candidates_->setText(best.join(QLatin1Char('\n')));
    status_->setText(t.finished ? QStringLiteral("Finished: nothing more to find in this position.")
                                : QStringLiteral("Thinking…"));
}

void AnalysisPanel::showState(const QString& text)
{
    bar_->setRedValue(0);
    for (QLabel* l : {verdict_, stats_, line_, candidates_})
        l->clear();
    status_->setText(text);
}

void AnalysisPanel::showReviewProgress(int done, int total)
{
    progress_->setRange(0, total);
    progress_->setValue(done);
    progress_->setFormat(QStringLiteral("Reviewing: %v of %m positions"));
    progress_->show();
    cancel_->show();
}

void AnalysisPanel::showReview(std::vector<ReviewedMove> positions)
{
    progress_->hide();
    cancel_->hide();
    mistakes_->clear();
    for (size_t n = 1; n < positions.size(); ++n) {
        if (positions[n].mark == 0)
            continue;
        const QString who = n % 2 == 1 ? QStringLiteral("Red") : QStringLiteral("Blue");
        auto* item = new QListWidgetItem(QStringLiteral("%1 %2 (%3): %4")
                                             .arg(positions[n].mark == 2 ? QStringLiteral("Blunder") : QStringLiteral("Mistake"))
                                             .arg(n)
                                             .arg(who)
                                             .arg(QString::fromStdString(positions[n].note)));
        item->setData(Qt::UserRole, static_cast<int>(n));
        mistakes_->addItem(item);
    }
    if (mistakes_->count() == 0)
        mistakes_->addItem(QStringLiteral("No mistakes found."));
    graph_->setPositions(std::move(positions));
    graph_->show();
    mistakes_->show();
}

void AnalysisPanel::clearReview()
{
    progress_->hide();
    cancel_->hide();
    graph_->setPositions({});
    graph_->hide();
    mistakes_->clear();
    mistakes_->hide();
}

bool AnalysisPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == line_ && (event->type() == QEvent::Enter || event->type() == QEvent::Leave) && onLineHovered)
        onLineHovered(event->type() == QEvent::Enter);
    return QDockWidget::eventFilter(watched, event);
}

void AnalysisPanel::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    if (onClosed)
        onClosed();
}

} // namespace brindle
