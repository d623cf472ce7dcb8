#pragma once
// The small pictures the window needs, drawn in code: the two last-move
// arrows and the window icon.

#include <QIcon>
#include <QPixmap>

namespace brindle {

enum class ArrowDirection { Left, Up };

// A 32 x 32 transparent picture with a small black arrowhead in its top-left
// corner, its tip 5 pixels in from the edge it points to.
QPixmap arrowPixmap(ArrowDirection direction);

// Diagonal bands in the game's colours.
QIcon gameIcon();

} // namespace brindle
