#pragma once
// A user interface for tests: records every message box and answers questions from a script.

#include <deque>
#include <string>
#include <vector>

#include "catalog/UserInterface.h"

namespace pelko::test {

class ScriptedUi final : public catalog::UserInterface {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> messages;   // model bytes
    std::vector<std::string> questions;  // model bytes
    std::deque<bool> answers;            // Yes/No in the order they are asked; No when none is left
};

}  // namespace pelko::test
