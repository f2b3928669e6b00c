#pragma once
// The idle step of the program: a single-shot timer restarted by every user action (key and
// mouse releases, drops, commands), so it fires a few hundred milliseconds after the user stops.
// Then a modified catalog is saved, and the message pane highlights the lines that came since
// its last pass. Nothing is saved on every keystroke, and every change reaches the disk soon.

#include <QObject>
#include <QTimer>

#include <functional>

namespace pelko::catalog {
class CPelkoDoc;
}

namespace pelko::ui {

class IdleSaver : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 400;

    // Watches the application's input when `watchInput`; tests call Touch() themselves.
    IdleSaver(catalog::CPelkoDoc& doc, std::function<void()> highlight, bool watchInput, QObject* parent = nullptr);

    // Something changed or the user did something: run the idle step after the delay.
    void Touch();
    bool Pending() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunIdleStep();

    catalog::CPelkoDoc& m_doc;
    std::function<void()> m_highlight;
    QTimer m_timer;
};

}  // namespace pelko::ui
