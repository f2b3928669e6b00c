#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/GlobalHotKeys.h"

namespace pelko::platform {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        if (old) m_old = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(GlobalHotKeysTest, OnlyAnX11SessionHasTheX11Backend) {
    {
        ScopedEnv display("DISPLAY", nullptr);
        EXPECT_FALSE(X11GlobalHotKeys::Connect());
    }
    {
        ScopedEnv display("DISPLAY", ":0");
        ScopedEnv session("XDG_SESSION_TYPE", "wayland");
        EXPECT_FALSE(X11GlobalHotKeys::Connect());
    }
    NoGlobalHotKeys none;
    EXPECT_FALSE(none.Available());
    EXPECT_FALSE(none.Register(50000, 2, 'E'));
}

// On a desktop with an X server the keys really grab; elsewhere there is nothing to test.
TEST(GlobalHotKeysTest, GrabsAndReleasesKeysOnARealDisplay) {
    std::unique_ptr<X11GlobalHotKeys> keys = X11GlobalHotKeys::Connect();
    if (!keys) GTEST_SKIP() << "no X11 display";
    EXPECT_GE(keys->Descriptor(), 0);
    EXPECT_FALSE(keys->Register(50000, 2 | 4 | 1, '1'));  // not a letter
    if (keys->Register(50000, 2 | 4 | 1 | 8, 'Q')) keys->Unregister(50000);
    EXPECT_TRUE(keys->ReadPresses().empty());
}

}  // namespace
}  // namespace pelko::platform
