#pragma once

#include "services/WindowFont.h"

namespace protocols {

// Kept for the callers that still include it; the one helper is ui::windowFont.
inline QFont windowFont(QFont font) { return ui::windowFont(font); }

} // namespace protocols
