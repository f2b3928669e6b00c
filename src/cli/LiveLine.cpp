#include "cli/LiveLine.h"

#include <ostream>

#include "cli/TerminalWidth.h"

namespace pelko::cli {

namespace {
constexpr std::string_view kEraseToEnd = "\x1b[K";
}

int LiveLine::Columns() const { return TerminalColumns(m_terminalFd); }

void LiveLine::Show(std::string_view terminalText) {
    const std::lock_guard lock(m_mutex);
    m_stream << '\r' << terminalText << kEraseToEnd << std::flush;
    m_shown = true;
}

bool LiveLine::IsShown() {
    const std::lock_guard lock(m_mutex);
    return m_shown;
}

void LiveLine::Clear() {
    const std::lock_guard lock(m_mutex);
    ClearLocked();
}

void LiveLine::WriteAbove(std::string_view line) {
    const std::lock_guard lock(m_mutex);
    ClearLocked();
    m_stream << line << '\n' << std::flush;
}

void LiveLine::ClearLocked() {
    if (!m_shown) return;
    m_stream << '\r' << kEraseToEnd << std::flush;
    m_shown = false;
}

}  // namespace pelko::cli
