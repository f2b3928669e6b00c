#pragma once
// What the libraries may ask of the person using the program: a message box, the plain
// questions and the few dialogs whose answers the logic needs. The desktop program answers with
// dialogs, pelko-cli from its arguments and the terminal, tests with a script. Texts are model
// bytes (GB18030).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::catalog {

class CCategory;

// What the new-object dialog gives back: the category chosen (null when the user confirmed
// without choosing one), the name and the memo.
struct NewObjectAnswer {
    CCategory* category = nullptr;
    std::string name;
    std::string memo;
};

// The files chosen in a file dialog; `tooMany` when the choice did not fit the dialog.
struct FileChoice {
    std::vector<std::filesystem::path> files;  // empty when cancelled
    bool tooMany = false;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A message box with an OK button, captioned with the program's name.
    virtual void ShowMessage(std::string_view text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
    // A question with OK and Cancel; true for OK. Asked as Yes/No where the two are the same.
    virtual bool AskOkCancel(std::string_view text) { return AskYesNo(text); }

    // The dialogs below answer Cancel in an interface that has no way to show them.

    // The new-object dialog: a tree of the catalog's categories under `root`, a name field
    // preset to `presetName` and an empty memo, under the caption `prompt`. Null on cancel.
    virtual std::optional<NewObjectAnswer> AskNewObject(std::string_view prompt, std::string_view presetName,
                                                        CCategory& root) {
        (void)prompt, (void)presetName, (void)root;
        return std::nullopt;
    }
    // A folder chooser with a prompt; null on cancel.
    virtual std::optional<std::filesystem::path> ChooseFolder(std::string_view prompt) {
        (void)prompt;
        return std::nullopt;
    }
    // The file dialog for disc files ("*.pkb"), several at once, opening in `startFolder`.
    virtual FileChoice ChooseDiscFiles(const std::filesystem::path& startFolder) {
        (void)startFolder;
        return {};
    }
};

}  // namespace pelko::catalog
