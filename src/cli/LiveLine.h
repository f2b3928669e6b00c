#pragma once
// One status line at the bottom of a terminal, drawn over in place ("\r", the text, erase to the
// end of the line) and erased when done. Every write to the stream while the line exists goes
// through this object, under its lock, so a message line from another thread never lands in the
// middle of the status: WriteAbove erases the status first, and the next Show draws it again.

#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

namespace pelko::cli {

class LiveLine {
public:
    // `stream` writes to the terminal open at `terminalFd`, whose width is asked at each Show.
    LiveLine(std::ostream& stream, int terminalFd) : m_stream(stream), m_terminalFd(terminalFd) {}
    LiveLine(const LiveLine&) = delete;
    LiveLine& operator=(const LiveLine&) = delete;

    // The terminal's width now (80 when it cannot be told).
    int Columns() const;

    // Any thread. Draws `terminalText`, which must already fit in Columns() - 1 (the last column
    // stays free, so no terminal wraps the line).
    void Show(std::string_view terminalText);
    bool IsShown();
    // Any thread. Erases the line when it is shown.
    void Clear();
    // Any thread. Writes a whole line (without its newline) where the status was.
    void WriteAbove(std::string_view line);

private:
    void ClearLocked();

    std::ostream& m_stream;
    int m_terminalFd;
    std::mutex m_mutex;
    bool m_shown = false;
};

}  // namespace pelko::cli
