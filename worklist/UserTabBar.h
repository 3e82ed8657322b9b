#pragma once

#include <QTabBar>

// A tab strip that tells the user's choices apart from changes made in code: userSelected is
// emitted only when a click, a key or the wheel changes the current tab, so a handler connected to
// it never runs when the program selects, adds or removes tabs.
class UserTabBar final : public QTabBar
{
    Q_OBJECT

public:
    explicit UserTabBar(QWidget* parent = nullptr);

signals:
    void userSelected(int index);
    // A mouse button was released over the strip.
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent* event) override;
#endif

private:
    template <typename Handler> void asUser(Handler handler);
};
