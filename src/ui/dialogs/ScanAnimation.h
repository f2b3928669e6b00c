#pragma once
// The looping picture of the scanning window: a disc turning under a reading light, painted by
// hand on a timer. It turns only while it is on screen, so a hidden window costs nothing.

#include <QTimer>
#include <QWidget>

namespace pelko::ui {

class ScanAnimation : public QWidget {
    Q_OBJECT
public:
    explicit ScanAnimation(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {64, 64}; }
    // The frames shown so far; the turn is this many steps of kStepDegrees.
    int Frame() const { return m_frame; }

    static constexpr int kStepDegrees = 12;
    static constexpr int kFrameMilliseconds = 60;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};

}  // namespace pelko::ui
