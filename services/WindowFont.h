#pragma once

#include <QFont>

namespace ui {

// Tahoma where it is installed (the windows are laid out for it), else a font with the
// Arabic-script letters; if there is none, the given font stays.
QFont windowFont(QFont font);

} // namespace ui
