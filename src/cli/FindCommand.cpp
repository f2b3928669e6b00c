#include "cli/FindCommand.h"

#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>

#include "catalog/CCategory.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "cli/Interrupt.h"
#include "cli/PostedTasks.h"
#include "search/FindCriteria.h"
#include "search/FindProgress.h"
#include "shell/AppSettings.h"
#include "shell/BusyState.h"
#include "shell/FindController.h"
#include "shell/FindDialogModel.h"
#include "shell/FindDialogPort.h"
#include "shell/FindWindow.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace {

struct TargetName {
    std::string_view name;
    int bit;
};

constexpr TargetName kTargetNames[] = {
    {"name", search::kFileName},      {"memo", search::kFileMemo},        {"dirname", search::kFolderName},
    {"dirmemo", search::kFolderMemo}, {"catname", search::kCategoryName}, {"catmemo", search::kCategoryMemo},
    {"discname", search::kDiscName},  {"discmemo", search::kDiscMemo},    {"label", search::kDiscLabel},
};

struct FindOptions {
    std::string text;  // UTF-8
    int targets = search::kFileName;
    bool whole = false;
    bool caseSensitive = false;
    bool readme = false;
    bool onlyThis = false;
    bool full = false;  // every disc file read in full; the search index neither used nor written
    std::optional<std::string> in;  // UTF-8 catalog path
};

std::optional<int> ParseTargets(std::string_view list) {
    int mask = 0;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        bool known = false;
        for (const TargetName& target : kTargetNames) {
            if (target.name == name) {
                mask |= target.bit;
                known = true;
            }
        }
        if (!known) return std::nullopt;
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return mask;
}

std::optional<FindOptions> ParseOptions(std::span<const std::string> args, std::ostream& err) {
    FindOptions options;
    bool haveText = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--whole") {
            options.whole = true;
        } else if (arg == "--case") {
            options.caseSensitive = true;
        } else if (arg == "--readme") {
            options.readme = true;
        } else if (arg == "--full") {
            options.full = true;
        } else if (arg == "--only-this") {
            options.onlyThis = true;
        } else if (arg == "--what" || arg == "--in") {
            if (i + 1 == args.size()) {
                err << "pelko-cli: " << arg << " needs a value\n";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--in") {
                options.in = value;
                continue;
            }
            const std::optional<int> targets = ParseTargets(value);
            if (!targets) {
                err << "pelko-cli: --what takes a list of name, memo, dirname, dirmemo, catname, catmemo, "
                       "discname, discmemo, label; got '"
                    << value << "'\n";
                return std::nullopt;
            }
            options.targets = *targets;
        } else if (!haveText && (arg.empty() || arg.front() != '-' || arg == "-")) {
            options.text = arg;
            haveText = true;
        } else {
            err << "pelko-cli: unexpected argument '" << arg << "'\n";
            return std::nullopt;
        }
    }
    if (!haveText) {
        err << "pelko-cli: find needs a TEXT (\"\" for none)\n";
        return std::nullopt;
    }
    return options;
}

// The find dialog of the command line: the options stand for what the user would tick, and the
// dialog's OK rules decide as they do on the desktop. A refused OK cancels.
class OptionsDialog final : public shell::FindDialogPort {
public:
    OptionsDialog(const FindOptions& options, shell::FindScope scope, catalog::UserInterface& ui,
                  catalog::CFindHistory& history)
        : m_options(options), m_scope(scope), m_ui(ui), m_history(history) {}

    bool RunFindDialog(shell::FindDialogModel& model) override {
        model.text = text::FromUtf8(m_options.text);
        model.Select(m_scope);
        model.checkedTargets = m_options.targets;
        model.includeSubcategories = !m_options.onlyThis;
        model.checkReadme = m_options.readme;
        model.wholeMatch = m_options.whole;
        model.caseSensitive = m_options.caseSensitive;
        return model.Accept(m_ui, m_history);
    }

private:
    const FindOptions& m_options;
    shell::FindScope m_scope;
    catalog::UserInterface& m_ui;
    catalog::CFindHistory& m_history;
};

// The main window of the command line: there is no tree, pane or wait dialog to update, and the
// finish arrives through a queue the command drains while it waits.
class TerminalFindWindow final : public shell::FindWindow {
public:
    void SaveOpenScanObject() override {}
    void SelectCategory(const catalog::CCategory&) override {}
    void ClearMessages() override {}
    std::unique_ptr<search::FindProgress> OpenWaitDialog(std::string_view) override { return nullptr; }
    void RestartResultHighlighting() override {}
    void ShowNextResultLine() override {}
    void PostToUiThread(std::function<void()> task) override { m_tasks.Post(std::move(task)); }

    // Runs posted tasks until `done` holds, calling `idle` every tenth of a second meanwhile.
    void RunUntil(const std::function<bool()>& done, const std::function<void()>& idle) {
        m_tasks.RunUntil(done, idle);
    }

private:
    PostedTasks m_tasks;
};

// Search lines to standard output, errors and warnings to standard error; counts the hits.
class FindOutput final : public catalog::MessageLog {
public:
    FindOutput(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}
    void Post(catalog::MessageKind kind, std::string_view text) override {
        const bool problem = kind == catalog::MessageKind::Error || kind == catalog::MessageKind::Warning;
        if (kind == catalog::MessageKind::Result) ++m_hits;
        (problem ? m_err : m_out).Post(kind, text);
    }
    int Hits() const { return m_hits.load(); }

private:
    TerminalLog m_out;
    TerminalLog m_err;
    std::atomic<int> m_hits{0};
};

// Reads this run's settings; writes go to them and to the user's store, when there is one.
class KeepingStore final : public settings::SettingsStore {
public:
    KeepingStore(settings::SettingsStore& run, settings::SettingsStore* user) : m_run(run), m_user(user) {}
    int ReadInt(std::string_view key, int defaultValue) const override {
        return m_run.ReadInt(key, defaultValue);
    }
    std::string ReadString(std::string_view key, std::string_view defaultValue) const override {
        return m_run.ReadString(key, defaultValue);
    }
    void WriteInt(std::string_view key, int value) override {
        m_run.WriteInt(key, value);
        if (m_user) m_user->WriteInt(key, value);
    }
    void WriteString(std::string_view key, std::string_view value) override {
        m_run.WriteString(key, value);
        if (m_user) m_user->WriteString(key, value);
    }

private:
    settings::SettingsStore& m_run;
    settings::SettingsStore* m_user;
};

}  // namespace

std::string_view FindCommand::Description() const {
    return "Search the catalog (the root, or the category or scan object --in names) for TEXT in file names "
           "(default) or the values --what lists; --whole: the value equals TEXT; --case: case-sensitive; "
           "--readme: also the scan objects' readme texts; --only-this: not the sub-categories; --full: read every "
           "disc file instead of the search index.";
}

int FindCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<FindOptions> options = ParseOptions(args, context.err);
    if (!options) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    shell::FindScope scope = shell::FindScope::Category(session.Root());
    if (options->in) {
        const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(*options->in));
        if (!item.found()) {
            context.err << "pelko-cli: no category or scan object " << *options->in << " in the catalog\n";
            return kExitFailure;
        }
        scope =
            item.entry ? shell::FindScope::Entry(*item.entry) : shell::FindScope::Category(*item.category);
    }

    KeepingStore store(context.settings, context.userSettings);
    shell::AppSettings settings;
    settings.Load(store);
    shell::BusyState busy;
    FindOutput output(context.out, context.err);
    OptionsDialog dialog(*options, scope, session.Ui(), session.Doc().History());
    TerminalFindWindow window;
    search::PrefetchOptions prefetch;
    prefetch.useIndex = !options->full;
    shell::FindController controller(
        {busy, settings, store, session.Doc(), output, session.Ui(), dialog, window}, prefetch);
    // Ctrl+C stops the search the way the wait dialog's Cancel does: the hits found so far stay
    // and the count line reports them.
    const InterruptGuard interrupt;
    controller.Find(scope);
    const bool accepted = controller.IsSearching();
    window.RunUntil([&] { return !controller.IsSearching(); },
                    [&] {
                        if (interrupt.Interrupted()) controller.Cancel();
                    });
    if (!session.SaveIfModified()) return kExitFailure;
    if (!accepted) return kExitUsage;
    return output.Hits() > 0 ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
