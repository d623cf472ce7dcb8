#include "app/strength_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "engine/strength.h"
#include "game/levels.h"

namespace brindle {

namespace {

// How a step plays, in a player's words.
QString howItPlays(int step)
{
    const engine::StrengthStep& s = engine::strengthStep(step);
    if (step >= engine::Strengths)
        return QStringLiteral("Strength %1 of %2: plays as Master does.").arg(step).arg(engine::Strengths);
    const QString ahead = s.depth == 1 ? QStringLiteral("looks one move ahead")
                                       : QStringLiteral("looks %1 moves ahead").arg(s.depth);
    const QString errs = s.temperature >= 300 ? QStringLiteral("often plays a good move that is not the best")
                         : s.temperature >= 100 ? QStringLiteral("sometimes plays a good move that is not the best")
                                               : QStringLiteral("now and then plays a good move that is not the best");
    return QStringLiteral("Strength %1 of %2: %3 and %4.").arg(step).arg(engine::Strengths).arg(ahead, errs);
}

} // namespace

StrengthDialog::StrengthDialog(int step, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmStrength");
    setWindowTitle(QStringLiteral("Strength"));
    auto* layout = new QGridLayout(this);
    slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName("sldStrength");
    slider->setRange(1, engine::Strengths);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setValue(strengthLevel(step).strength);
    slider->setAccessibleName(QStringLiteral("Strength"));
    slider->setMinimumWidth(320);
    auto* weakest = new QLabel(QStringLiteral("Hard"), this);
    auto* strongest = new QLabel(QStringLiteral("Master"), this);
    strongest->setAlignment(Qt::AlignRight);
    description = new QLabel(this);
    description->setObjectName("lblStrength");
    description->setWordWrap(true);
    description->setMinimumHeight(description->fontMetrics().height() * 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(slider, 0, 0, 1, 2);
    layout->addWidget(weakest, 1, 0);
    layout->addWidget(strongest, 1, 1);
    layout->addWidget(description, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);
    connect(slider, &QSlider::valueChanged, this, [this] { describe(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    describe();
}

int StrengthDialog::step() const
{
    return slider->value();
}

void StrengthDialog::describe()
{
    description->setText(howItPlays(step()));
    // A screen reader hears the step's line with the slider's value.
    slider->setAccessibleDescription(description->text());
}

} // namespace brindle
