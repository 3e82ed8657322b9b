#include "services/SideBar.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Captions use "\r" as their line break.
QString shownText(const QString& caption)
{
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

const char kCaptionProperty[] = "sideBarCaption";

} // namespace

SideBar::SideBar(QWidget* parent) : QWidget(parent)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(6, 6, 6, 6);
    m_layout->setSpacing(2);
    // Items are flat links on the panel's colour: no frame, underlined under the mouse.
    setStyleSheet(QStringLiteral(
        "QPushButton { border: none; background: transparent; padding: 4px 6px; color: #1c3f94; }"
        "QPushButton:hover { text-decoration: underline; }"
        "QPushButton:disabled { color: #9a9a9a; }"
        "QPushButton:focus { outline: none; }"));
}

int SideBar::addItem(const QString& caption, bool enabled)
{
    const int index = int(m_items.size());
    auto* item = new QPushButton(shownText(caption), this);
    item->setObjectName(QStringLiteral("Item%1").arg(index));
    item->setProperty(kCaptionProperty, caption);
    item->setFlat(true);
    item->setCursor(Qt::PointingHandCursor);
    item->setFocusPolicy(Qt::NoFocus);
    item->setEnabled(enabled);
    item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(item, &QPushButton::clicked, this, [this, index] { emit itemClicked(index); });
    m_layout->addWidget(item);
    m_items.append(item);
    return index;
}

int SideBar::count() const
{
    return int(m_items.size());
}

QString SideBar::caption(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index)->property(kCaptionProperty).toString()
                                                : QString();
}

void SideBar::setCaption(int index, const QString& caption)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items.at(index)->setProperty(kCaptionProperty, caption);
    m_items.at(index)->setText(shownText(caption));
}

bool SideBar::isItemEnabled(int index) const
{
    return index >= 0 && index < m_items.size() && m_items.at(index)->isEnabled();
}

void SideBar::setItemEnabled(int index, bool enabled)
{
    if (index >= 0 && index < m_items.size())
        m_items.at(index)->setEnabled(enabled);
}

QWidget* SideBar::itemWidget(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

void SideBar::click(int index)
{
    if (isItemEnabled(index))
        emit itemClicked(index);
}
