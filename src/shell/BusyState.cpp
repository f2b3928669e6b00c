#include "shell/BusyState.h"

namespace pelko::shell {

bool BusyState::TrySet(Busy from, Busy to) { return m_state.compare_exchange_strong(from, to); }

}  // namespace pelko::shell
