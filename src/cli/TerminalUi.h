#pragma once
// The user interface of the command line: message boxes become lines on the error stream;
// questions are asked on the terminal, and answered No when no one is there to answer.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "catalog/UserInterface.h"

namespace pelko::cli {

// What the command line says in place of the desktop program's dialogs.
struct DialogAnswers {
    std::optional<std::filesystem::path> folder;   // the folder chooser
    std::vector<std::filesystem::path> discFiles;  // the disc-file dialog
    catalog::CCategory* category = nullptr;        // where new objects go (null: the root)
    std::optional<std::string> name;               // their name (model bytes), else the preset
    std::string memo;                              // their memo (model bytes)
    bool assumeYes = false;                        // --yes: every question is answered Yes/OK
};

class TerminalUi final : public catalog::UserInterface {
public:
    TerminalUi(std::istream& in, std::ostream& err, bool interactive)
        : m_in(in), m_err(err), m_interactive(interactive) {}
    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    std::optional<catalog::NewObjectAnswer> AskNewObject(std::string_view prompt, std::string_view presetName,
                                                         catalog::CCategory& root) override;
    std::optional<std::filesystem::path> ChooseFolder(std::string_view prompt) override;
    catalog::FileChoice ChooseDiscFiles(const std::filesystem::path& startFolder) override;

    DialogAnswers& Answers() { return m_answers; }

private:
    std::istream& m_in;
    std::ostream& m_err;
    bool m_interactive;
    DialogAnswers m_answers;
};

// True when standard input is a terminal a person can type at.
bool StdinIsTerminal();

// Reads one line from a terminal without echoing it (for passwords), or a plain line from any
// other stream. False at the end of input.
bool ReadSecretLine(std::istream& in, std::ostream& prompt, std::string_view promptText, bool terminal,
                    std::string& line);

}  // namespace pelko::cli
