#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace ui {

// Tahoma where it is installed (the windows are laid out for it), else a font with the
// Arabic-script letters; if there is none, the given font stays.
QFont windowFont(QFont font);

// Paints the widget's whole background in the colour.
void fillBackground(QWidget* widget, const QColor& colour);

} // namespace ui
