#pragma once
// The editing commands of pelko-cli: they run the catalog editor the desktop program runs, with
// its questions answered on the terminal (or by --yes) and its dialogs answered by the
// arguments, and fail when the editor refused.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"

namespace pelko::shell {
class CatalogEditor;
}

namespace pelko::cli {

class CatalogSession;

// The arguments of an editing command: positional ones in order, and the value of each option.
struct EditArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> options;  // "--yes" maps to ""
    std::optional<std::string> Option(std::string_view name) const;
};

// Opens the catalog, runs Edit with an editor over it, and saves the catalog when it changed.
class EditCommand : public Command {
public:
    int Execute(CliContext& context, std::span<const std::string> args) final;

protected:
    // Options taking a value, and flags without one.
    virtual std::vector<std::string_view> ValueOptions() const { return {}; }
    virtual std::vector<std::string_view> FlagOptions() const { return {}; }
    // Whether this many positional arguments can be right.
    virtual bool AcceptsCount(std::size_t count) const = 0;
    virtual int Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                     const EditArgs& args) = 0;
};

class MkcatCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "mkcat"; }
    std::string_view Synopsis() const override { return "mkcat PARENT NAME"; }
    std::string_view Description() const override {
        return "Make a new category NAME under the category PARENT (a catalog path such as Pelko/软件).";
    }

protected:
    bool AcceptsCount(std::size_t count) const override { return count == 2; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class RenameCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "rename"; }
    std::string_view Synopsis() const override { return "rename CATPATH NEWNAME"; }
    std::string_view Description() const override { return "Rename a category or a scan object."; }

protected:
    bool AcceptsCount(std::size_t count) const override { return count == 2; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class MemoCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "memo"; }
    std::string_view Synopsis() const override { return "memo CATPATH TEXT"; }
    std::string_view Description() const override {
        return "Set the memo of a category or a scan object (an empty TEXT clears it).";
    }

protected:
    bool AcceptsCount(std::size_t count) const override { return count == 2; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class RmCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "rm"; }
    std::string_view Synopsis() const override { return "rm [--yes] CATPATH"; }
    std::string_view Description() const override {
        return "Delete a category with everything in it, or a scan object with its disc files and exported "
               "pages (asks first unless --yes).";
    }

protected:
    std::vector<std::string_view> FlagOptions() const override { return {"--yes"}; }
    bool AcceptsCount(std::size_t count) const override { return count == 1; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class MvCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "mv"; }
    std::string_view Synopsis() const override { return "mv CATPATH... TARGETCAT"; }
    std::string_view Description() const override {
        return "Move categories and scan objects of one category into the category TARGETCAT.";
    }

protected:
    bool AcceptsCount(std::size_t count) const override { return count >= 2; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class SortCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "sort"; }
    std::string_view Synopsis() const override { return "sort"; }
    std::string_view Description() const override { return "Sort the whole catalog tree by name."; }

protected:
    bool AcceptsCount(std::size_t count) const override { return count == 0; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class MergeCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "merge"; }
    std::string_view Synopsis() const override { return "merge DIR"; }
    std::string_view Description() const override {
        return "Merge the catalog in DIR (the folder holding its tnk.dat or pelko.pkb) into this one, with "
               "its disc files.";
    }

protected:
    bool AcceptsCount(std::size_t count) const override { return count == 1; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

class AddCommand final : public EditCommand {
public:
    std::string_view Name() const override { return "add"; }
    std::string_view Synopsis() const override {
        return "add [--category CATPATH] [--name NAME] [--memo TEXT] FILE...";
    }
    std::string_view Description() const override {
        return "Add disc files (.pkb, or .pkb.zip) made elsewhere as scan objects (under CATPATH, the root "
               "when none; named after their volume label unless NAME is given).";
    }

protected:
    std::vector<std::string_view> ValueOptions() const override { return {"--category", "--name", "--memo"}; }
    bool AcceptsCount(std::size_t count) const override { return count >= 1; }
    int Edit(CliContext&, CatalogSession&, shell::CatalogEditor&, const EditArgs&) override;
};

}  // namespace pelko::cli
