#pragma once

#include <QColor>
#include <QWidget>

// The board's busy strip: a shaded block that slides along the strip and turns back at either
// end. It moves only when told to (one tick per logged row), so a long run shows its pace.
class BusyIndicator final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BusyIndicator)

public:
    static constexpr int kStepsPerTick = 5;
    static constexpr int kBlockWidth = 200;
    static constexpr int kStripHeight = 13;

    explicit BusyIndicator(QWidget* parent = nullptr);

    // Moves the block kStepsPerTick pixels (bouncing at the ends) and repaints the strip.
    void tick();

    int blockPosition() const { return m_position; }
    bool movingForward() const { return m_forward; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int travel() const;

    int m_position = 0;
    bool m_forward = true;
    QColor m_background;
    QColor m_peak;
};
