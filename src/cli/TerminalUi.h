#pragma once
// The user interface of the command line: message boxes become lines on the error stream;
// questions are asked on the terminal, and answered No when no one is there to answer.

#include <iosfwd>

#include "catalog/UserInterface.h"

namespace pelko::cli {

class TerminalUi final : public catalog::UserInterface {
public:
    TerminalUi(std::istream& in, std::ostream& err, bool interactive)
        : m_in(in), m_err(err), m_interactive(interactive) {}
    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;

private:
    std::istream& m_in;
    std::ostream& m_err;
    bool m_interactive;
};

// True when standard input is a terminal a person can type at.
bool StdinIsTerminal();

// Reads one line from a terminal without echoing it (for passwords), or a plain line from any
// other stream. False at the end of input.
bool ReadSecretLine(std::istream& in, std::ostream& prompt, std::string_view promptText, bool terminal,
                    std::string& line);

}  // namespace pelko::cli
