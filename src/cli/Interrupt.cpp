#include "cli/Interrupt.h"

#include <csignal>

namespace pelko::cli {

namespace {

std::atomic<bool> g_running{true};
static_assert(std::atomic<bool>::is_always_lock_free, "cleared from a signal handler");

extern "C" void OnInterrupt(int) { g_running.store(false); }

}  // namespace

InterruptGuard::InterruptGuard() {
    g_running.store(true);
    m_previous = std::signal(SIGINT, OnInterrupt);
}

InterruptGuard::~InterruptGuard() { std::signal(SIGINT, m_previous); }

std::atomic<bool>& InterruptGuard::Running() const { return g_running; }

}  // namespace pelko::cli
