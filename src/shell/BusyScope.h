#pragma once
// Holds the busy state for the length of one operation: taken only when the state was idle, and
// given back on every way out, so a failed start or an early return can never leave the main
// window refusing commands for good.

#include "shell/BusyState.h"

namespace pelko::shell {

class BusyScope {
public:
    BusyScope(BusyState& state, Busy kind) : m_state(state), m_held(state.TrySet(Busy::Idle, kind)) {}
    ~BusyScope() {
        if (m_held) m_state.Set(Busy::Idle);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    // False when another operation was running: nothing was taken and nothing will be given back.
    bool Held() const { return m_held; }

private:
    BusyState& m_state;
    bool m_held;
};

}  // namespace pelko::shell
