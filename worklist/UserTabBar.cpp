#include "worklist/UserTabBar.h"

#include <QMouseEvent>

UserTabBar::UserTabBar(QWidget* parent) : QTabBar(parent) {}

template <typename Handler> void UserTabBar::asUser(Handler handler)
{
    // The signal goes out after the strip has finished its own handling, once per input event,
    // so a handler that rebuilds the strip is not called again by its own changes.
    const int before = currentIndex();
    handler();
    if (currentIndex() != before && currentIndex() >= 0)
        emit userSelected(currentIndex());
}

void UserTabBar::mousePressEvent(QMouseEvent* event)
{
    asUser([&] { QTabBar::mousePressEvent(event); });
}

void UserTabBar::mouseReleaseEvent(QMouseEvent* event)
{
    asUser([&] { QTabBar::mouseReleaseEvent(event); });
    emit mouseReleased(event->button(), event->modifiers());
}

void UserTabBar::keyPressEvent(QKeyEvent* event)
{
    asUser([&] { QTabBar::keyPressEvent(event); });
}

#if QT_CONFIG(wheelevent)
void UserTabBar::wheelEvent(QWheelEvent* event)
{
    asUser([&] { QTabBar::wheelEvent(event); });
}
#endif
