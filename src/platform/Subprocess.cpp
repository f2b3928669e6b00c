#include "platform/Subprocess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileDescriptor.h"

extern char** environ;

namespace pelko::platform {

namespace {

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

}  // namespace

std::optional<ProgramResult> RunProgram(const std::vector<std::string>& argv, bool captureOutput) {
    if (argv.empty()) return std::nullopt;
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
    FileDescriptor readEnd(pipeFds[0]);
    FileDescriptor writeEnd(pipeFds[1]);

    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
    if (captureOutput) {
        posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), 1);
    } else {
        posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, pointers[0], actions.get(), nullptr, pointers.data(), environ) != 0)
        return std::nullopt;
    writeEnd = FileDescriptor();

    ProgramResult result;
    if (captureOutput) {
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(readEnd.get(), buffer, sizeof(buffer));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            result.output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return std::nullopt;
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // posix_spawnp reports a missing program through the child's exit status 127.
    if (result.exitStatus == 127) return std::nullopt;
    return result;
}

}  // namespace pelko::platform
