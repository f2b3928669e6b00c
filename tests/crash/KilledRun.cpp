#include "crash/KilledRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>

#include "support/TempDir.h"

extern char** environ;

namespace pelko::test {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint32_t kNameChanges = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The name changes among the events waiting on an inotify descriptor.
int ReadNameChanges(int fd) {
    int count = 0;
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) return count;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & kNameChanges) ++count;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

}  // namespace

ProgramRun RunProgram(const fs::path& program, const std::vector<std::string>& args, const std::string& input,
                      const fs::path& scratch, const std::vector<fs::path>& watched,
                      std::optional<KillPlan> kill) {
    fs::create_directories(scratch);
    const fs::path in = scratch / "stdin";
    const fs::path err = scratch / "stderr";
    std::ofstream(in, std::ios::binary | std::ios::trunc) << input;

    const Descriptor changes(watched.empty() ? -1 : ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    for (const fs::path& folder : watched) ::inotify_add_watch(changes.get(), folder.c_str(), kNameChanges);

    std::vector<std::string> argvText{program.native()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    ProgramRun run;
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) throw std::runtime_error("cannot start " + program.native());
    const Descriptor pidfd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));

    std::optional<Clock::time_point> deadline;
    if (kill && kill->afterChanges == 0)
        deadline = start + std::chrono::duration_cast<Clock::duration>(kill->after);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) throw std::runtime_error("waitpid failed");
        if (deadline && Clock::now() >= *deadline) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        // Without a process descriptor (old kernels) the child is looked at every 100 us.
        Clock::duration wait = pidfd.get() >= 0 ? std::chrono::hours(1) : std::chrono::microseconds(100);
        if (deadline) wait = std::min(wait, *deadline - Clock::now());
        const auto ns =
            std::max<long long>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count());
        const timespec timeout{static_cast<time_t>(ns / 1'000'000'000),
                               static_cast<long>(ns % 1'000'000'000)};
        pollfd fds[2] = {{pidfd.get(), POLLIN, 0}, {changes.get(), POLLIN, 0}};
        ::ppoll(fds, 2, &timeout, nullptr);
        if (fds[1].revents & POLLIN) {
            const Clock::time_point now = Clock::now();
            const int before = run.changes;
            run.changes += ReadNameChanges(changes.get());
            if (!run.firstChange && run.changes > 0) run.firstChange = now - start;
            if (kill && kill->afterChanges > 0 && before < kill->afterChanges &&
                run.changes >= kill->afterChanges)
                deadline = now + std::chrono::duration_cast<Clock::duration>(kill->after);
        }
    }
    run.took = Clock::now() - start;
    if (changes.get() >= 0) run.changes += ReadNameChanges(changes.get());
    run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(err);
    return run;
}

}  // namespace pelko::test
