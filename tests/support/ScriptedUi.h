#pragma once
// A user interface for tests: records every message box and answers questions and dialogs from
// a script.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "catalog/UserInterface.h"

namespace pelko::test {

class ScriptedUi final : public catalog::UserInterface {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::string_view text) override { return Answer(text); }
    bool AskOkCancel(std::string_view text) override { return Answer(text); }

    std::optional<catalog::NewObjectAnswer> AskNewObject(std::string_view prompt, std::string_view presetName,
                                                         catalog::CCategory&) override {
        prompts.emplace_back(prompt);
        presets.emplace_back(presetName);
        if (newObjects.empty()) return std::nullopt;
        auto answer = newObjects.front();
        newObjects.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> ChooseFolder(std::string_view prompt) override {
        prompts.emplace_back(prompt);
        return folder;
    }
    catalog::FileChoice ChooseDiscFiles(const std::filesystem::path& startFolder) override {
        fileDialogFolder = startFolder;
        return files;
    }

    std::vector<std::string> messages;   // model bytes
    std::vector<std::string> questions;  // model bytes
    std::deque<bool> answers;            // Yes/OK in the order asked; No/Cancel when none is left

    std::vector<std::string> prompts;  // dialog captions and prompts
    std::vector<std::string> presets;  // names the new-object dialog was preset to
    std::deque<std::optional<catalog::NewObjectAnswer>> newObjects;  // cancel when none is left
    std::optional<std::filesystem::path> folder;                     // the folder chooser's answer
    catalog::FileChoice files;                                       // the file dialog's answer
    std::filesystem::path fileDialogFolder;

private:
    bool Answer(std::string_view text) {
        questions.emplace_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace pelko::test
