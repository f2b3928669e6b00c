#pragma once
// The state of the Caps Lock, Num Lock and Scroll Lock indicators for the status bar. In an X11
// session it is the server's keyboard indicator mask (core GetKeyboardControl, which follows
// XKB's indicators, so it is right even when the key was pressed in another program); elsewhere
// the keyboard LEDs in /sys/class/leds. Nothing when neither can be read.

#include <memory>
#include <optional>

namespace pelko::ui {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const LockKeys&) const = default;
};

class LockKeyState {
public:
    LockKeyState();
    ~LockKeyState();
    LockKeyState(const LockKeyState&) = delete;
    LockKeyState& operator=(const LockKeyState&) = delete;

    // One round trip to the X server, or a few small file reads.
    std::optional<LockKeys> Query();

private:
    struct X11;
    std::unique_ptr<X11> m_x11;
};

}  // namespace pelko::ui
