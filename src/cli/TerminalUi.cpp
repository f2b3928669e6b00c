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
    if (m_answers.assumeYes) {
        m_err << TerminalText(text) << " (--yes: Yes)\n" << std::flush;
        return true;
    }
    m_err << TerminalText(text) << (m_interactive ? " [y/N] " : " (no answer: No)\n") << std::flush;
    if (!m_interactive) return false;
    std::string answer;
    if (!std::getline(m_in, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes";
}

std::optional<catalog::NewObjectAnswer> TerminalUi::AskNewObject(std::string_view,
                                                                 std::string_view presetName,
                                                                 catalog::CCategory& root) {
    catalog::NewObjectAnswer answer;
    answer.category = m_answers.category ? m_answers.category : &root;
    answer.name = m_answers.name ? *m_answers.name : std::string(presetName);
    answer.memo = m_answers.memo;
    return answer;
}

std::optional<std::filesystem::path> TerminalUi::ChooseFolder(std::string_view) { return m_answers.folder; }

catalog::FileChoice TerminalUi::ChooseDiscFiles(const std::filesystem::path&) {
    return catalog::FileChoice{m_answers.discFiles, false};
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
