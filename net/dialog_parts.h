#pragma once
// What the game's small dialogs share: controls placed in twips, as the
// dialogs were drawn, and text handed over from the core's UTF-8.

#include <string_view>

#include <QString>
#include <QWidget>

namespace brindle::dialog {

inline int twipsToPixels(int twips)
{
    constexpr int TwipsPerPixel = 15;
    return twips / TwipsPerPixel;
}

template <class W>
W* place(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
    return widget;
}

inline QString qtText(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace brindle::dialog
