#pragma once
// The splash picture: a borderless window on top, centred, shown once per process. It closes
// 500 ms after it appeared, or at once when any key or mouse button is pressed anywhere in the
// program. The picture is resources/splash, or drawn here when that is not compiled in.

#include <QPixmap>
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
    QPixmap m_picture;
};

}  // namespace pelko::ui
