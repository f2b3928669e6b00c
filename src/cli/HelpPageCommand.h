#pragma once

#include "cli/Command.h"
#include "export/HelpPages.h"

namespace pelko::cli {

// Writes the help page ("help-page") or the questions-and-answers page ("faq-page") into the
// catalog folder and prints its path.
class HelpPageCommand final : public Command {
public:
    explicit HelpPageCommand(exporting::HelpPage page) : m_page(page) {}
    std::string_view Name() const override {
        return m_page == exporting::HelpPage::Help ? "help-page" : "faq-page";
    }
    std::string_view Synopsis() const override { return Name(); }
    std::string_view Description() const override {
        return m_page == exporting::HelpPage::Help
                   ? "Write the help page help.htm into the catalog folder and print its path."
                   : "Write the questions-and-answers page faq.htm into the catalog folder and print its "
                     "path.";
    }
    int Execute(CliContext& context, std::span<const std::string> args) override;

private:
    exporting::HelpPage m_page;
};

}  // namespace pelko::cli
