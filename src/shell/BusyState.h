#pragma once
// Which worker runs: none, a scan or a search. One value shared by the commands on the
// user-interface thread and the workers; it admits one worker at a time.

#include <atomic>

namespace pelko::shell {

enum class Busy { Idle = 0, Scanning = 1, Searching = 2 };

class BusyState {
public:
    Busy Get() const { return m_state.load(); }
    void Set(Busy state) { m_state.store(state); }
    // Changes `from` to `to` in one step; false (and no change) when the state was not `from`.
    bool TrySet(Busy from, Busy to);

    bool IsIdle() const { return Get() == Busy::Idle; }
    bool IsScanning() const { return Get() == Busy::Scanning; }
    bool IsSearching() const { return Get() == Busy::Searching; }

private:
    std::atomic<Busy> m_state{Busy::Idle};
};

}  // namespace pelko::shell
