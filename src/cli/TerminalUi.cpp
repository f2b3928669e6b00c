#include "cli/TerminalUi.h"

#include <termios.h>
#include <unistd.h>

#include <istream>
#include <ostream>
#include <string>

#include "cli/TerminalLog.h"

namespace pelko::cli {

void TerminalUi::ShowMessage(std::string_view text) { m_err << TerminalText(text) << '\n' << std::flush; }

bool TerminalUi::AskYesNo(std::string_view text) {
    m_err << TerminalText(text) << (m_interactive ? " [y/N] " : " (no answer: No)\n") << std::flush;
    if (!m_interactive) return false;
    std::string answer;
    if (!std::getline(m_in, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes";
}

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool ReadSecretLine(std::istream& in, std::ostream& prompt, std::string_view promptText, bool terminal,
                    std::string& line) {
    if (!terminal) return static_cast<bool>(std::getline(in, line));
    prompt << promptText << std::flush;
    termios saved{};
    const bool canHide = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (canHide) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const bool got = static_cast<bool>(std::getline(in, line));
    if (canHide) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    prompt << '\n';
    return got;
}

}  // namespace pelko::cli
