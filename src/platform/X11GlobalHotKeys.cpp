#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/GlobalHotKeys.h"

namespace pelko::platform {

namespace {

constexpr std::uint16_t kNumLock = XCB_MOD_MASK_2;
constexpr std::uint16_t kCapsLock = XCB_MOD_MASK_LOCK;
constexpr std::uint16_t kLockVariants[] = {0, kNumLock, kCapsLock, kNumLock | kCapsLock};

std::uint16_t X11Modifiers(int modifiers) {
    std::uint16_t mask = 0;
    if (modifiers & 1) mask |= XCB_MOD_MASK_1;  // Alt
    if (modifiers & 2) mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & 4) mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & 8) mask |= XCB_MOD_MASK_4;  // the Windows (Super) key
    return mask;
}

struct Grab {
    xcb_keycode_t keycode;
    std::uint16_t modifiers;
};

}  // namespace

struct X11GlobalHotKeys::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_window_t root = 0;
    std::map<int, Grab> grabs;
    ~Connection() {
        if (xcb) xcb_disconnect(xcb);
    }

    // The key code that types the letter (its unshifted keysym is the lower-case letter).
    xcb_keycode_t KeycodeOfLetter(int keyCode) {
        if (keyCode < 'A' || keyCode > 'Z') return 0;
        const xcb_keysym_t wanted = static_cast<xcb_keysym_t>('a' + (keyCode - 'A'));
        const xcb_setup_t* setup = xcb_get_setup(xcb);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
            xcb, xcb_get_keyboard_mapping(xcb, setup->min_keycode, static_cast<std::uint8_t>(count)),
            nullptr);
        if (!reply) return 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        const int perKey = reply->keysyms_per_keycode;
        xcb_keycode_t found = 0;
        for (int k = 0; k < count && found == 0 && perKey > 0; ++k)
            if (syms[k * perKey] == wanted) found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
        std::free(reply);
        return found;
    }
};

X11GlobalHotKeys::X11GlobalHotKeys(std::unique_ptr<Connection> connection)
    : m_connection(std::move(connection)) {}
X11GlobalHotKeys::~X11GlobalHotKeys() {
    while (!m_connection->grabs.empty()) Unregister(m_connection->grabs.begin()->first);
}

std::unique_ptr<X11GlobalHotKeys> X11GlobalHotKeys::Connect() {
    const char* display = std::getenv("DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    if (display == nullptr || display[0] == '\0') return nullptr;
    if (session != nullptr && std::strcmp(session, "wayland") == 0) return nullptr;
    auto connection = std::make_unique<Connection>();
    int screenNumber = 0;
    connection->xcb = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection->xcb)) return nullptr;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection->xcb));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem == 0) return nullptr;
    connection->root = screens.data->root;
    return std::unique_ptr<X11GlobalHotKeys>(new X11GlobalHotKeys(std::move(connection)));
}

bool X11GlobalHotKeys::Register(int id, int modifiers, int keyCode) {
    Connection& c = *m_connection;
    Unregister(id);
    const xcb_keycode_t keycode = c.KeycodeOfLetter(keyCode);
    if (keycode == 0) return false;
    const std::uint16_t mask = X11Modifiers(modifiers);
    bool refused = false;
    for (std::uint16_t variant : kLockVariants) {
        xcb_generic_error_t* error =
            xcb_request_check(c.xcb, xcb_grab_key_checked(c.xcb, 1, c.root, mask | variant, keycode,
                                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        if (error) {
            refused = true;
            std::free(error);
        }
    }
    if (refused) {  // another program holds the key: take back what was grabbed
        for (std::uint16_t variant : kLockVariants) xcb_ungrab_key(c.xcb, keycode, c.root, mask | variant);
        xcb_flush(c.xcb);
        return false;
    }
    c.grabs[id] = Grab{keycode, mask};
    return true;
}

void X11GlobalHotKeys::Unregister(int id) {
    Connection& c = *m_connection;
    const auto found = c.grabs.find(id);
    if (found == c.grabs.end()) return;
    for (std::uint16_t variant : kLockVariants)
        xcb_ungrab_key(c.xcb, found->second.keycode, c.root, found->second.modifiers | variant);
    xcb_flush(c.xcb);
    c.grabs.erase(found);
}

int X11GlobalHotKeys::Descriptor() const { return xcb_get_file_descriptor(m_connection->xcb); }

std::vector<int> X11GlobalHotKeys::ReadPresses() {
    std::vector<int> pressed;
    Connection& c = *m_connection;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c.xcb)) {
        if ((event->response_type & 0x7F) == XCB_KEY_PRESS) {
            const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
            const std::uint16_t state = key->state & ~(kNumLock | kCapsLock);
            for (const auto& [id, grab] : c.grabs)
                if (grab.keycode == key->detail && grab.modifiers == state) pressed.push_back(id);
        }
        std::free(event);
    }
    return pressed;
}

}  // namespace pelko::platform
