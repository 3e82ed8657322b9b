#include "group/BusyIndicator.h"

#include <QLinearGradient>
#include <QPainter>

BusyIndicator::BusyIndicator(QWidget* parent)
    : QWidget(parent), m_background(0xFF, 0xFF, 0xE6), m_peak(0xFF, 0x79, 0x79)
{
    setFixedHeight(kStripHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize BusyIndicator::sizeHint() const
{
    return {kBlockWidth, kStripHeight};
}

int BusyIndicator::travel() const
{
    return qMax(0, width() - kBlockWidth);
}

void BusyIndicator::tick()
{
    // Step by step rather than by 5 at once, so the turn at an end lands where a slow slide would.
    const int last = travel();
    for (int i = 0; i < kStepsPerTick; ++i) {
        if (m_forward && m_position >= last)
            m_forward = false;
        else if (!m_forward && m_position <= 0)
            m_forward = true;
        if (last > 0)
            m_position += m_forward ? 1 : -1;
    }
    m_position = qBound(0, m_position, last);
    // No pause between steps: the strip is redrawn once when the event loop next paints.
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    const int left = qMin(m_position, travel());
    const QRect block(left, 0, qMin(kBlockWidth, width()), height());
    QLinearGradient shade(block.topLeft(), block.topRight());
    shade.setColorAt(0.0, m_background);
    shade.setColorAt(0.5, m_peak);
    shade.setColorAt(1.0, m_background);
    painter.fillRect(block, shade);
}
