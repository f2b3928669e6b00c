#pragma once
// The catalog document: owns the category tree and the find history, loads them from the
// catalog file "tnk.dat" (converting the older "pelko.pkb", or starting from the built-in
// default catalog), and writes them back.
//
// Saving never destroys the catalog: the new file is written beside the old one and renamed
// over it, and the last good file is kept as "tnk.dat.bak". A catalog that fails to load is
// left as it is on the disk.

#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "catalog/CFindHistory.h"
#include "catalog/CRootCategory.h"
#include "catalog/DeferredDeletions.h"

namespace pelko::catalog {

class MessageLog;
class UserInterface;

// The content of a catalog file: the root (with or without its header) and the find history;
// bytes after the history are ignored.
enum class CatalogRead { Ok, BadHeader, Damaged };
CatalogRead ReadCatalogBytes(std::span<const std::uint8_t> bytes, bool expectHeader, CRootCategory& root,
                             CFindHistory& history);
// The root alone, for reading another catalog's tree.
CatalogRead ReadCatalogTree(std::span<const std::uint8_t> bytes, bool expectHeader, CRootCategory& root);
std::vector<std::uint8_t> CatalogBytes(CRootCategory& root, CFindHistory& history);

class CPelkoDoc {
public:
    static constexpr std::string_view kCatalogFile = "tnk.dat";
    static constexpr std::string_view kBackupFile = "tnk.dat.bak";
    static constexpr std::string_view kOldCatalogFile = "pelko.pkb";

    CPelkoDoc(std::filesystem::path catalogFolder, MessageLog& log, UserInterface& ui);

    // Loads the catalog; true when the tree is there afterwards. Failures are shown through the
    // user interface; the program cannot go on without a catalog.
    bool LoadCatalog();
    // Writes the catalog, then deletes the files of entries deleted since the last save; false
    // (and still modified, the files kept) when it could not be written.
    bool SaveCatalog();

    bool IsModified() const { return m_root && m_root->m_bModified; }
    void SetModified(bool modified = true) {
        if (m_root) m_root->m_bModified = modified;
    }

    CRootCategory* Root() { return m_root.get(); }
    const CRootCategory* Root() const { return m_root.get(); }
    CFindHistory& History() { return m_history; }
    const std::filesystem::path& CatalogFolder() const { return m_folder; }
    std::filesystem::path DiskFolder() const { return m_folder / "Disk"; }
    MessageLog& Log() { return m_log; }
    // Files of deleted entries, waiting for the next successful save.
    DeferredDeletions& PendingDeletions() { return m_pendingDeletions; }
    UserInterface& Ui() { return m_ui; }

    // Sets the catalog password and saves at once. A password longer than the file can hold is
    // refused with a message and nothing changes.
    bool SetPassword(std::string_view password);

    // Sorts the whole tree ascending; saves at once when an order changed.
    void SortTree();

private:
    CatalogRead ReadCatalog(std::span<const std::uint8_t> bytes, bool expectHeader);
    bool WriteCatalogFile(std::span<const std::uint8_t> bytes);
    void ShowMessage(std::string_view utf8Text);

    std::filesystem::path m_folder;
    MessageLog& m_log;
    UserInterface& m_ui;
    std::unique_ptr<CRootCategory> m_root;
    CFindHistory m_history;
    DeferredDeletions m_pendingDeletions;
    bool m_fileIsGood = false;  // the catalog file on the disk was read or written by us
};

}  // namespace pelko::catalog
