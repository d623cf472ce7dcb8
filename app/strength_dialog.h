#pragma once
// "Strength": the steps between Hard and Master on a slider, weakest at the
// left, each with a line on how it plays.

#include <QDialog>

class QLabel;
class QSlider;

namespace brindle {

class StrengthDialog final : public QDialog {
public:
    // Opens at `step` (1 to 8).
    StrengthDialog(int step, QWidget* parent);
    int step() const;

    QSlider* slider = nullptr;
    QLabel* description = nullptr;

private:
    void describe();
};

} // namespace brindle
