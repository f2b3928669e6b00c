#pragma once
// System-wide hot keys of the desktop: register a key with an identifier, unregister it, and
// hear presses as identifiers. Modifier bits are those the settings store (1 Alt, 2 Ctrl,
// 4 Shift, 8 the Windows key); key codes are the letters' codes 65 ('A') to 90 ('Z').

#include <memory>
#include <vector>

namespace pelko::platform {

class GlobalHotKeys {
public:
    virtual ~GlobalHotKeys() = default;
    // False where the desktop offers no system-wide hot keys.
    virtual bool Available() const = 0;
    // False when the key cannot be had (another program holds it, or the key is unknown).
    virtual bool Register(int id, int modifiers, int keyCode) = 0;
    virtual void Unregister(int id) = 0;
};

// Key grabs on the root window of an X11 session, each with its NumLock and CapsLock variants.
class X11GlobalHotKeys final : public GlobalHotKeys {
public:
    // Null outside an X11 session (no DISPLAY, or a Wayland session, whose X server only sees
    // its own clients' keys).
    static std::unique_ptr<X11GlobalHotKeys> Connect();
    ~X11GlobalHotKeys() override;

    bool Available() const override { return true; }
    bool Register(int id, int modifiers, int keyCode) override;
    void Unregister(int id) override;

    // Readable when key events wait: for the event loop.
    int Descriptor() const;
    // The identifiers of the hot keys pressed since the last call (never blocks).
    std::vector<int> ReadPresses();

    struct Connection;

private:
    explicit X11GlobalHotKeys(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> m_connection;
};

// Nothing is available: the backend of desktops without system-wide hot keys.
class NoGlobalHotKeys final : public GlobalHotKeys {
public:
    bool Available() const override { return false; }
    bool Register(int, int, int) override { return false; }
    void Unregister(int) override {}
};

}  // namespace pelko::platform
