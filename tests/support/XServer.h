#pragma once
// A private X server (Xvfb) for tests that need a display, so that they neither depend on the
// desktop they run under nor grab anything on it. The test starts with REQUIRE_TOOL("Xvfb").

#include <sys/types.h>

#include <string>

namespace pelko::test {

class XServer {
public:
    // Starts Xvfb on a free display and waits until it takes connections.
    XServer();
    // Stops the server and waits for it.
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":N", or empty when the server did not start.
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

}  // namespace pelko::test
