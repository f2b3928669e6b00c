#pragma once
// The splash picture: a borderless window on top, centred, shown once per process. It closes
// 500 ms after it appeared, or at once when any key or mouse button is pressed anywhere in the
// program. The picture is drawn here, so it needs no file.

#include <QWidget>

namespace pelko::ui {

class Splash : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 500;
    // Shows a new splash window; it deletes itself when it closes.
    static Splash* ShowOnce();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Splash();
};

}  // namespace pelko::ui
