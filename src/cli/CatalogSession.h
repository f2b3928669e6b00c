#pragma once
// The catalog as one command uses it: found where the catalog folder rules say, loaded (or
// created on a first start), unlocked with its password, and saved before the command ends
// when it changed.

#include <filesystem>
#include <memory>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "cli/Command.h"
#include "cli/TerminalLog.h"
#include "cli/TerminalUi.h"

namespace pelko::cli {

class CatalogSession {
public:
    explicit CatalogSession(CliContext& context);

    // Loads the catalog and checks its password: from the first line of standard input with
    // --password-stdin, else asked on the terminal. False after telling why.
    bool Open();

    // Writes the catalog when it changed. False after telling why.
    bool SaveIfModified();

    const std::filesystem::path& Folder() const { return m_folder; }
    catalog::CPelkoDoc& Doc() { return *m_doc; }
    catalog::CRootCategory& Root() { return *m_doc->Root(); }
    catalog::DiscStore& Discs() { return m_discs; }
    TerminalLog& Log() { return m_log; }
    TerminalUi& Ui() { return m_ui; }

private:
    bool Login();

    CliContext& m_context;
    std::filesystem::path m_folder;
    TerminalLog m_log;
    TerminalUi m_ui;
    std::unique_ptr<catalog::CPelkoDoc> m_doc;
    catalog::DiscStore m_discs;
};

}  // namespace pelko::cli
