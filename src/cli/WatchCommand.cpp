#include "cli/WatchCommand.h"

#include <poll.h>

#include <charconv>
#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>

#include "cli/ScanDiscCommand.h"
#include "platform/MediaWatcher.h"

namespace pelko::cli {

namespace {

volatile std::sig_atomic_t g_stop = 0;
extern "C" void OnWatchStop(int) { g_stop = 1; }

class StopSignals {
public:
    StopSignals() {
        g_stop = 0;
        m_int = std::signal(SIGINT, OnWatchStop);
        m_term = std::signal(SIGTERM, OnWatchStop);
    }
    ~StopSignals() {
        std::signal(SIGINT, m_int);
        std::signal(SIGTERM, m_term);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    void (*m_int)(int) = SIG_DFL;
    void (*m_term)(int) = SIG_DFL;
};

std::optional<int> Seconds(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

}  // namespace

int WatchCommand::Execute(CliContext& context, std::span<const std::string> args) {
    bool scan = false;
    std::optional<std::string> category;
    int waitSeconds = 30;
    std::optional<int> forSeconds;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--scan") {
            scan = true;
            continue;
        }
        if ((arg == "--category" || arg == "--wait" || arg == "--for") && i + 1 < args.size()) {
            const std::string& value = args[++i];
            if (arg == "--category") {
                category = value;
                continue;
            }
            const std::optional<int> seconds = Seconds(value);
            if (seconds) {
                (arg == "--wait" ? waitSeconds : forSeconds.emplace()) = *seconds;
                continue;
            }
        }
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }

    const std::unique_ptr<platform::MediaWatcher> watcher = platform::MediaWatcher::Start();
    if (!watcher) {
        context.err << "pelko-cli: cannot listen to udev for disc insertions\n";
        return kExitFailure;
    }
    using Clock = platform::PendingInsertions::Clock;
    platform::PendingInsertions pending{std::chrono::seconds(waitSeconds)};
    const Clock::time_point end =
        forSeconds ? Clock::now() + std::chrono::seconds(*forSeconds) : Clock::time_point::max();
    StopSignals stop;
    int status = kExitOk;
    while (!g_stop && Clock::now() < end) {
        pollfd fd{watcher->Descriptor(), POLLIN, 0};
        ::poll(&fd, 1, 500);
        const Clock::time_point now = Clock::now();
        for (const platform::MediaEvent& event : watcher->ReadEvents()) {
            const bool inserted = event.change == platform::MediaChange::Inserted;
            context.out << (inserted ? "inserted " : "removed ") << event.device << std::endl;
            if (scan) pending.Note(event, now);
        }
        for (const platform::PendingInsertions::Ready& ready :
             pending.Poll(platform::ReadMountedVolumes(), now)) {
            context.out << "reading " << ready.device
                        << (ready.mountPoint ? " mounted at " + *ready.mountPoint : std::string(" unmounted"))
                        << std::endl;
            std::vector<std::string> scanArgs{ready.mountPoint.value_or(ready.device)};
            if (category) scanArgs.insert(scanArgs.end(), {"--category", *category});
            ScanDiscCommand scanDisc(false);
            // A disc taken out during its scan is part of watching drives, not a failure.
            const int scanned = scanDisc.Execute(context, scanArgs);
            if (scanned != kExitOk && scanned != kExitIncomplete) status = kExitFailure;
        }
    }
    return status;
}

}  // namespace pelko::cli
