#pragma once
// The network dialogs are laid out in twips, as they were drawn: 15 to a
// pixel.

#include <QString>
#include <QWidget>

namespace brindle {

inline int twipsToPixels(int twips)
{
    constexpr int TwipsPerPixel = 15;
    return twips / TwipsPerPixel;
}

// Names a control and puts it at its place in its parent, in twips.
template <class W>
W* place(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
    return widget;
}

} // namespace brindle
