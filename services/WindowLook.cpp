#include "services/WindowLook.h"

#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

namespace ui {

QFont windowFont(QFont font)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family :
         {QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans")}) {
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

void fillBackground(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace ui
