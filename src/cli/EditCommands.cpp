#include "cli/EditCommands.h"

#include <algorithm>
#include <ostream>

#include "catalog/CCategory.h"
#include "settings/SettingsTable.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "shell/BusyState.h"
#include "shell/CatalogEditor.h"
#include "text/Codec.h"

namespace pelko::cli {

using shell::CatalogObject;

namespace {

std::optional<EditArgs> ParseArgs(std::span<const std::string> args,
                                  const std::vector<std::string_view>& values,
                                  const std::vector<std::string_view>& flags) {
    EditArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isValue = std::find(values.begin(), values.end(), arg) != values.end();
        const bool isFlag = std::find(flags.begin(), flags.end(), arg) != flags.end();
        if (isValue) {
            if (i + 1 == args.size()) return std::nullopt;
            parsed.options[arg] = args[++i];
        } else if (isFlag) {
            parsed.options[arg] = "";
        } else if (arg.size() > 1 && arg.starts_with("--")) {
            return std::nullopt;
        } else {
            parsed.positional.push_back(arg);
        }
    }
    return parsed;
}

// The category or entry a catalog path names, or nothing after saying so.
std::optional<CatalogObject> Resolve(CliContext& context, CatalogSession& session, const std::string& path) {
    const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(path));
    if (!item.found()) {
        context.err << "pelko-cli: nothing named " << path << " in the catalog\n";
        return std::nullopt;
    }
    if (item.entry) return CatalogObject(item.entry);
    return CatalogObject(item.category);
}

catalog::CCategory* ResolveCategory(CliContext& context, CatalogSession& session, const std::string& path) {
    const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(path));
    if (!item.found() || item.entry) {
        context.err << "pelko-cli: no category " << path << " in the catalog\n";
        return nullptr;
    }
    return item.category;
}

std::string PathOf(const CatalogObject& object) {
    if (auto* const* category = std::get_if<catalog::CCategory*>(&object))
        return TerminalText((*category)->Path());
    if (auto* const* entry = std::get_if<catalog::CDiskInfo*>(&object))
        return TerminalText(catalog::EntryPath(**entry));
    return {};
}

int Status(bool succeeded) { return succeeded ? kExitOk : kExitFailure; }

}  // namespace

std::optional<std::string> EditArgs::Option(std::string_view name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

int EditCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<EditArgs> parsed = ParseArgs(args, ValueOptions(), FlagOptions());
    if (!parsed || !AcceptsCount(parsed->positional.size())) {
        context.err << "usage: pelko-cli [--catalog DIR] " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    shell::BusyState idle;
    const bool deletePictureFolders = settings::ReadSettingInt(context.settings, "g_bDelPicDir") != 0;
    shell::CatalogEditor editor(session.Doc(), session.Discs(), idle, context.settings, deletePictureFolders);
    const int status = Edit(context, session, editor, *parsed);
    if (!session.SaveIfModified()) return kExitFailure;
    return status;
}

int MkcatCommand::Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                       const EditArgs& args) {
    catalog::CCategory* parent = ResolveCategory(context, session, args.positional[0]);
    if (parent == nullptr) return kExitFailure;
    const std::string name = text::FromUtf8(args.positional[1]);
    const CatalogObject current = parent;
    catalog::CCategory* made = editor.NewCategory(&current);
    if (made == nullptr) return kExitFailure;
    // The desktop program opens the new name for editing; here the name is given at once. A
    // name that is refused takes the new category back out.
    if (made->m_strName != name && !editor.RenameInList(made, name)) {
        parent->RemoveSubcategory(made);
        return kExitFailure;
    }
    context.out << TerminalText(made->Path()) << '\n';
    return kExitOk;
}

int RenameCommand::Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                        const EditArgs& args) {
    const std::optional<CatalogObject> object = Resolve(context, session, args.positional[0]);
    if (!object) return kExitFailure;
    if (!editor.RenameInList(*object, text::FromUtf8(args.positional[1]))) return kExitFailure;
    context.out << PathOf(*object) << '\n';
    return kExitOk;
}

int MemoCommand::Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                      const EditArgs& args) {
    const std::optional<CatalogObject> object = Resolve(context, session, args.positional[0]);
    if (!object) return kExitFailure;
    return Status(editor.EditMemoInList(*object, text::FromUtf8(args.positional[1])));
}

int RmCommand::Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                    const EditArgs& args) {
    const std::optional<CatalogObject> object = Resolve(context, session, args.positional[0]);
    if (!object) return kExitFailure;
    session.Ui().Answers().assumeYes = args.Option("--yes").has_value();
    if (*object == CatalogObject(&session.Root())) return Status(editor.DeleteFromTree(*object));  // refused
    return Status(editor.DeleteFromList(std::vector<CatalogObject>{*object}));
}

int MvCommand::Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                    const EditArgs& args) {
    catalog::CCategory* target = ResolveCategory(context, session, args.positional.back());
    if (target == nullptr) return kExitFailure;
    std::vector<CatalogObject> objects;
    for (std::size_t i = 0; i + 1 < args.positional.size(); ++i) {
        const std::optional<CatalogObject> object = Resolve(context, session, args.positional[i]);
        if (!object) return kExitFailure;
        objects.push_back(*object);
    }
    auto parentOf = [](const CatalogObject& object) -> catalog::CCategory* {
        if (auto* const* category = std::get_if<catalog::CCategory*>(&object)) return (*category)->m_pParent;
        return std::get<catalog::CDiskInfo*>(object)->m_pCategory;
    };
    editor.CutObjects(parentOf(objects.front()), objects);
    editor.MoveCutTo(target);
    bool allMoved = true;
    for (const CatalogObject& object : objects) allMoved = allMoved && parentOf(object) == target;
    return Status(allMoved);
}

int SortCommand::Edit(CliContext&, CatalogSession&, shell::CatalogEditor& editor, const EditArgs&) {
    return Status(editor.Sort());
}

int MergeCommand::Edit(CliContext&, CatalogSession& session, shell::CatalogEditor& editor,
                       const EditArgs& args) {
    session.Ui().Answers().folder = std::filesystem::absolute(args.positional[0]);
    return Status(editor.Merge());
}

int AddCommand::Edit(CliContext& context, CatalogSession& session, shell::CatalogEditor& editor,
                     const EditArgs& args) {
    DialogAnswers& answers = session.Ui().Answers();
    if (const auto category = args.Option("--category")) {
        answers.category = ResolveCategory(context, session, *category);
        if (answers.category == nullptr) return kExitFailure;
    }
    if (const auto name = args.Option("--name")) answers.name = text::FromUtf8(*name);
    if (const auto memo = args.Option("--memo")) answers.memo = text::FromUtf8(*memo);
    for (const std::string& file : args.positional)
        answers.discFiles.push_back(std::filesystem::absolute(file));
    const int added = editor.AddDiscFiles();
    context.out << added << " added\n";
    return Status(added == static_cast<int>(args.positional.size()));
}

}  // namespace pelko::cli
