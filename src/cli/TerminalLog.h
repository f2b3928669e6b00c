#pragma once
// The message log of the command line: one line per message on a stream, prefixed with its
// kind, converted to UTF-8. Safe to call from any thread.

#include <iosfwd>
#include <mutex>

#include "catalog/MessageLog.h"

namespace pelko::cli {

class LiveLine;

class TerminalLog final : public catalog::MessageLog {
public:
    explicit TerminalLog(std::ostream& stream) : m_stream(stream) {}
    void Post(catalog::MessageKind kind, std::string_view text) override;
    int ErrorCount() const;

    // While a live status line is on the same terminal, lines are written through it (null: no
    // longer). The line must outlive its use here.
    void SetLiveLine(LiveLine* line);

private:
    std::ostream& m_stream;
    LiveLine* m_liveLine = nullptr;
    mutable std::mutex m_mutex;
    int m_errors = 0;
};

// A model string as terminal text: UTF-8 with control characters shown as "\xNN", so a
// hostile file name cannot steer the terminal.
std::string TerminalText(std::string_view modelText);

}  // namespace pelko::cli
