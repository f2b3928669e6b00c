#include "cli/TerminalLog.h"

#include <cstdio>
#include <ostream>

#include "cli/LiveLine.h"
#include "text/Codec.h"

namespace pelko::cli {

std::string TerminalText(std::string_view modelText) {
    const std::string utf8 = text::ToUtf8(modelText);
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

void TerminalLog::Post(catalog::MessageKind kind, std::string_view text) {
    const std::string line = TerminalText(catalog::MessagePrefix(kind)) + TerminalText(text);
    const std::lock_guard lock(m_mutex);
    if (kind == catalog::MessageKind::Error) ++m_errors;
    if (m_liveLine) m_liveLine->WriteAbove(line);
    else m_stream << line << '\n' << std::flush;
}

void TerminalLog::SetLiveLine(LiveLine* line) {
    const std::lock_guard lock(m_mutex);
    m_liveLine = line;
}

int TerminalLog::ErrorCount() const {
    const std::lock_guard lock(m_mutex);
    return m_errors;
}

}  // namespace pelko::cli
