#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/GlobalHotKeys.h"
#include "support/Requirements.h"
#include "support/XServer.h"

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

// The keys really grab, on a server of the test's own.
TEST(GlobalHotKeysTest, GrabsAndReleasesKeysOnARealDisplay) {
    REQUIRE_TOOL("Xvfb");
    const test::XServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    ScopedEnv display("DISPLAY", server.Display().c_str());
    ScopedEnv session("XDG_SESSION_TYPE", "x11");
    std::unique_ptr<X11GlobalHotKeys> keys = X11GlobalHotKeys::Connect();
    ASSERT_TRUE(keys);
    EXPECT_GE(keys->Descriptor(), 0);
    EXPECT_FALSE(keys->Register(50000, 2 | 4 | 1, '1'));     // not a letter
    EXPECT_TRUE(keys->Register(50000, 2 | 4 | 1 | 8, 'Q'));  // nobody else holds it on this server
    keys->Unregister(50000);
    EXPECT_TRUE(keys->ReadPresses().empty());
}

}  // namespace
}  // namespace pelko::platform
