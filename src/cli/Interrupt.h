#pragma once
// Ctrl+C while a command works: it stops the work the way the desktop program's Cancel or Stop
// button does, and what was done so far is kept. The handler only clears a flag, which the work
// polls (or which a worker reads as its running flag); the signal is the process's, so the flag
// is too.

#include <atomic>

#include "scan/CScanProgress.h"

namespace pelko::cli {

class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    bool Interrupted() const { return !Running().load(); }
    // True until Ctrl+C is pressed; a worker may take it as its running flag.
    std::atomic<bool>& Running() const;

private:
    void (*m_previous)(int);
};

// The progress of a scan on the terminal: Ctrl+C cancels it.
class InterruptProgress final : public scan::CScanProgress {
public:
    bool IsCancelled() override { return m_guard.Interrupted(); }
    void ShowFolderPath(std::string_view) override {}
    bool Interrupted() const { return m_guard.Interrupted(); }

private:
    InterruptGuard m_guard;
};

}  // namespace pelko::cli
