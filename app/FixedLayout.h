#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace zanto {

// The windows are laid out at fixed positions given in twips (1/1440 inch),
// 15 to a pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return value / 15;
}

// Names `widget` and puts it at left, top, width, height (in twips).
template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return widget;
}

// A label at its fixed place. Its text is plain text, never markup (a file
// name may look like a tag), and starts at the top left of its box, as the
// positions assume.
inline QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height)
{
    auto* widget = place(new QLabel(text, parent), name, left, top, width, height);
    widget->setTextFormat(Qt::PlainText);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

// Labels drawn with a font taller than their box grow downwards to one line
// of it, so that no line is cut off. Run once the fonts are set.
inline void fitLabelHeights(QWidget* root)
{
    for (QLabel* shown : root->findChildren<QLabel*>()) {
        const int line = shown->fontMetrics().height();
        if (shown->height() < line)
            shown->resize(shown->width(), line);
    }
}

} // namespace zanto
