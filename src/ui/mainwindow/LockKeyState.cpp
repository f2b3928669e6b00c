#include "ui/mainwindow/LockKeyState.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace pelko::ui {
namespace {

// The LEDs of every keyboard ("input3::capslock"); on when any of them is lit.
std::optional<LockKeys> ReadSysLeds() {
    std::error_code error;
    std::filesystem::directory_iterator it("/sys/class/leds", error);
    if (error) return std::nullopt;
    LockKeys keys;
    bool found = false;
    for (const auto& led : it) {
        const std::string name = led.path().filename().string();
        bool* target = nullptr;
        if (name.ends_with("::capslock")) target = &keys.caps;
        else if (name.ends_with("::numlock")) target = &keys.num;
        else if (name.ends_with("::scrolllock")) target = &keys.scroll;
        if (!target) continue;
        std::ifstream in(led.path() / "brightness");
        int brightness = 0;
        if (in >> brightness) {
            found = true;
            *target = *target || brightness > 0;
        }
    }
    if (!found) return std::nullopt;
    return keys;
}

}  // namespace

struct LockKeyState::X11 {
    xcb_connection_t* connection = nullptr;
    ~X11() {
        if (connection) xcb_disconnect(connection);
    }
};

LockKeyState::LockKeyState() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    m_x11 = std::make_unique<X11>();
    m_x11->connection = connection;
}

LockKeyState::~LockKeyState() = default;

std::optional<LockKeys> LockKeyState::Query() {
    if (m_x11) {
        xcb_get_keyboard_control_reply_t* reply =
            xcb_get_keyboard_control_reply(m_x11->connection, xcb_get_keyboard_control(m_x11->connection), nullptr);
        if (reply) {
            // LED 1 is Caps Lock, 2 Num Lock, 3 Scroll Lock in every XKB keymap that ships.
            const LockKeys keys{(reply->led_mask & 1u) != 0, (reply->led_mask & 2u) != 0,
                                (reply->led_mask & 4u) != 0};
            std::free(reply);
            return keys;
        }
    }
    return ReadSysLeds();
}

}  // namespace pelko::ui
