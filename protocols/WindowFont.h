#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace protocols {

// Tahoma where it is installed (the windows are laid out for it), else a font with the
// Arabic-script letters; if there is none, the given font stays.
inline QFont windowFont(QFont font)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : {QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic"),
                                  QStringLiteral("DejaVu Sans")}) {
        if (installed.contains(family)) {
            font.setFamily(family);
            return font;
        }
    }
    const QStringList arabic = QFontDatabase::families(QFontDatabase::Arabic);
    if (!arabic.isEmpty())
        font.setFamily(arabic.first());
    return font;
}

} // namespace protocols
