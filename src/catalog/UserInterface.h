#pragma once
// What the libraries may ask of the person using the program: a message box and the plain
// questions. The desktop program answers with dialogs, pelko-cli on the terminal, tests with a
// script. Texts are model bytes (GB18030).

#include <string_view>

namespace pelko::catalog {

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A message box with an OK button, captioned with the program's name.
    virtual void ShowMessage(std::string_view text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
};

}  // namespace pelko::catalog
