#include "cli/ExportCommand.h"

#include <malloc.h>

#include <atomic>
#include <csignal>
#include <optional>
#include <ostream>

#include "catalog/CCategory.h"
#include "cli/CatalogPath.h"
#include "cli/CatalogSession.h"
#include "cli/Interrupt.h"
#include "export/ExportOptions.h"
#include "export/ExportPaths.h"
#include "export/Exporter.h"
#include "export/IndexPages.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace fs = std::filesystem;

namespace {

struct Options {
    std::optional<exporting::ExportFormat> format;
    std::optional<std::string> catalogPath;
    bool flat = false;
    bool memo = false;
    std::optional<std::string> types;
    bool dirsOnly = false;
    bool noProgress = false;
};

std::optional<Options> ParseOptions(std::span<const std::string> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--text" || arg == "--html") {
            const auto format =
                arg == "--text" ? exporting::ExportFormat::Text : exporting::ExportFormat::Html;
            if (options.format && *options.format != format) return std::nullopt;
            options.format = format;
        } else if (arg == "--flat") {
            options.flat = true;
        } else if (arg == "--memo") {
            options.memo = true;
        } else if (arg == "--dirs-only") {
            options.dirsOnly = true;
        } else if (arg == "--no-progress") {
            options.noProgress = true;
        } else if (arg == "--types") {
            if (i + 1 == args.size()) return std::nullopt;
            options.types = args[++i];
        } else if (!arg.starts_with("--") && !options.catalogPath) {
            options.catalogPath = arg;
        } else {
            return std::nullopt;
        }
    }
    if (!options.format) return std::nullopt;
    return options;
}

// Files written on standard output; with progress, each file being written and the share of
// its category done on standard error.
class TerminalExportSink final : public exporting::ExportSink {
public:
    TerminalExportSink(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}
    void ShowPath(const fs::path& file) override {
        m_err << "[" << m_percent << "%] " << file.native() << '\n';
    }
    void SetProgress(int percent) override { m_percent = percent; }
    void FileWritten(const fs::path& file) override {
        m_out << file.native() << '\n';
        ++m_written;
    }
    void ExportFinished(exporting::ExportEnd) override {}
    int Written() const { return m_written; }

private:
    std::ostream& m_out;
    std::ostream& m_err;
    int m_percent = 0;
    int m_written = 0;
};

}  // namespace

std::string_view ExportCommand::Description() const {
    return "Export the catalog (or the category or scan object CATPATH) as text files or pages into "
           "DIR/Pelko/, one file per scan object in folders that mirror the categories, with the index "
           "pages index.htm and indexTxt.htm; print the files written. Layout and memos default to the "
           "settings g_bExportTree and g_bExportMemo; Ctrl+C stops.";
}

int ExportCommand::Execute(CliContext& context, std::span<const std::string> args) {
    const std::optional<Options> options = ParseOptions(args);
    if (!options) {
        context.err << "usage: pelko-cli [--catalog DIR] [--set KEY=VALUE]... " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;

    exporting::ExportTarget target = static_cast<const catalog::CCategory*>(&session.Root());
    if (options->catalogPath) {
        const CatalogItem item = ResolveCatalogPath(session.Root(), text::FromUtf8(*options->catalogPath));
        if (!item.found()) {
            context.err << "pelko-cli: no category or scan object " << *options->catalogPath
                        << " in the catalog\n";
            return kExitFailure;
        }
        if (item.entry != nullptr) {
            target = static_cast<const catalog::CDiskInfo*>(item.entry);
        } else {
            target = static_cast<const catalog::CCategory*>(item.category);
        }
    }

    exporting::ExportOptions exportOptions;
    exportOptions.format = *options->format;
    exportOptions.style = exporting::ExportStyle::Load(context.settings);
    if (options->flat) exportOptions.style.tree = false;
    if (options->memo) exportOptions.style.memo = true;
    exportOptions.filter.foldersOnly = options->dirsOnly;
    if (options->types) {
        exportOptions.filter.allTypes = false;
        exportOptions.filter.listedTypes = true;
        exportOptions.filter.typeList = text::FromUtf8(*options->types);
    }
    exportOptions.showProgress = !options->noProgress;

    // As opening the export window does: every category folder, then both index pages.
    const bool indexWritten =
        exporting::PrepareExportFolders(session.Folder(), session.Root(), exportOptions.style, session.Ui());
    if (indexWritten) {
        const fs::path rootFolder = exporting::CategoryFolder(session.Folder(), session.Root());
        context.out << (rootFolder / exporting::kIndexPage).native() << '\n'
                    << (rootFolder / exporting::kTextIndexPage).native() << '\n';
    }

    // Each scan object's records are many small blocks, all freed before the next disc file is
    // loaded. With glibc's fast bins those frees are only parked, and the next large allocation
    // (the next inflated disc file) walks them all again to merge them; freeing them straight
    // away costs a third less time over a large catalog.
    mallopt(M_MXFAST, 0);

    TerminalExportSink sink(context.out, context.err);
    // Ctrl+C clears the export's running flag, as the export window's "停止" does.
    const InterruptGuard interrupt;
    exporting::Exporter exporter(
        session.Folder(), [&session](const catalog::CDiskInfo& entry) { return session.Discs().Open(entry); },
        session.Log(), exportOptions, interrupt.Running(), sink);
    const exporting::ExportEnd end = exporter.Export(target);
    if (end == exporting::ExportEnd::Stopped) {
        context.err << "pelko-cli: export stopped; " << sink.Written() << " files written\n";
    }
    const bool saved = session.SaveIfModified();
    return indexWritten && saved && end == exporting::ExportEnd::Finished ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
