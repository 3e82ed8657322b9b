#pragma once

#include <QWidget>

class QVBoxLayout;

// The side bar of clickable items that the main window and the dialogs share: a list of items,
// each with a caption and an enabled state, that signals which item was clicked. The panel it
// stands in gives the background colour.
class SideBar : public QWidget
{
    Q_OBJECT

public:
    explicit SideBar(QWidget* parent = nullptr);

    // Adds an item; returns its index.
    int addItem(const QString& caption, bool enabled = true);
    int count() const;
    QString caption(int index) const;
    void setCaption(int index, const QString& caption);
    bool isItemEnabled(int index) const;
    void setItemEnabled(int index, bool enabled);
    // The widget of an item, for tests and screenshots (objectName "Item<index>").
    QWidget* itemWidget(int index) const;
    // Acts as a click on the item when it is enabled.
    void click(int index);

signals:
    void itemClicked(int index);

private:
    QVBoxLayout* m_layout = nullptr;
    QList<class QPushButton*> m_items;
};
