#include "support/XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace pelko::test {

XServer::XServer() {
    // Xvfb picks the display itself and writes its number to the descriptor once it is ready.
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ready[1], 3);  // dup2 clears close-on-exec
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args{"Xvfb", "-displayfd", "3", "-nolisten",
                                  "tcp",  "-screen",    "0", "320x240x24"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    if (spawned != 0) {
        m_pid = -1;
        ::close(ready[0]);
        return;
    }
    std::string number;
    pollfd waiting{ready[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && ::poll(&waiting, 1, 10'000) > 0) {
        char chunk[16];
        const ssize_t got = ::read(ready[0], chunk, sizeof chunk);
        if (got <= 0) break;
        number.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(ready[0]);
    if (const std::size_t end = number.find('\n'); end != std::string::npos && end > 0)
        m_display = ":" + number.substr(0, end);
}

XServer::~XServer() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
}

}  // namespace pelko::test
