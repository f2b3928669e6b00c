#pragma once
// The editing commands of the catalog as the tree view, the list view and pelko-cli run them:
// new category, rename, memo, properties, delete, cut and paste, drag and drop, sort, merging
// another catalog and adding disc files. Each applies its busy guard, asks its questions
// through the user interface, reports to the message log, and changes the model. Every change
// made is also told, as it happens, to the listener given to ReportChangesTo (the views), so
// that they update the rows concerned; a refused command or one that changes nothing tells
// nothing.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "shell/BusyState.h"
#include "shell/CatalogObject.h"

namespace pelko::settings {
class SettingsStore;
}

namespace pelko::catalog {
class CPelkoDoc;
class DiscFileImport;
class DiscStore;
}  // namespace pelko::catalog

namespace pelko::shell {

class CatalogChanges;

// What the properties dialog shows for the one selected object.
struct PropertiesForm {
    std::string title;  // model bytes
    std::string name;
    std::string memo;
    bool nameEditable = false;  // the name is stored too (categories and entries)
};

class CatalogEditor {
public:
    CatalogEditor(catalog::CPelkoDoc& doc, catalog::DiscStore& discs, BusyState& busy,
                  const settings::SettingsStore& settings, bool deletePictureFolders);

    // Where the changes made from now on are reported; null (the default) reports them to nobody.
    // The listener must outlive the editor or be replaced first.
    void ReportChangesTo(CatalogChanges* changes) { m_changes = changes; }

    OpenScanObject& Open() { return m_open; }
    const CutList& Cut() const { return m_cut; }

    // A new sub-category of the current tree item, named "新建类别N" by the number of
    // sub-categories it has. Null when nothing was made.
    catalog::CCategory* NewCategory(const CatalogObject* current);

    // A name edited in place in the list (trimmed first). True when the name changed.
    bool RenameInList(const CatalogObject& object, std::string_view text);
    // A memo edited in place in the list (trimmed; may be empty). It is stored only when it
    // differs from the old memo other than in letter case. True when it was stored.
    bool EditMemoInList(const CatalogObject& object, std::string_view text);
    // A name edited in the tree (taken as typed). True when the name changed.
    bool RenameInTree(const CatalogObject& item, std::string_view text);

    // Whether editing the name or memo of the selected list rows may start: not while scanning or
    // searching, and only with exactly one row (else the user is told).
    bool MayEditOne(std::span<const CatalogObject> selection);

    // The properties dialog's title and fields for the selection, or null after telling the
    // user why it cannot be shown.
    std::optional<PropertiesForm> PropertiesOf(std::span<const CatalogObject> selection);
    // Stores what the dialog returned with OK (only the memo of a folder or file).
    void ApplyProperties(const CatalogObject& object, std::string_view name, std::string_view memo);

    // Deletes the selected list rows after asking. True when anything was deleted. The files of
    // deleted entries go with the next successful save of the catalog.
    bool DeleteFromList(std::span<const CatalogObject> selection);
    // Deletes the selected tree item after asking. True when it was deleted; the view then
    // selects its parent.
    bool DeleteFromTree(const CatalogObject& item);

    // Remembers the selected rows of `source` as the cut list.
    void CutObjects(catalog::CCategory* source, std::span<const CatalogObject> selection);
    // Moves the cut list into the list's current item, which must be a category. The category to
    // select afterwards, or null when nothing was moved.
    catalog::CCategory* Paste(const CatalogObject& current);
    // Moves the cut list into `target` (the list is used once). The category to select, or null.
    catalog::CCategory* MoveCutTo(catalog::CCategory* target);

    // A category or entry dropped on a category (or on nothing). The category to select and
    // expand afterwards: the moved category or the one now holding the moved entry, or the
    // dragged item's own when nothing moved. Null when the drop is refused.
    std::optional<CatalogObject> Drop(const CatalogObject& dragged, catalog::CCategory* target);

    // Sorts the whole tree ascending. True when it ran.
    bool Sort();

    // Merges the catalog in a folder the user chooses. True when it was merged.
    bool Merge();
    // Adds disc files the user chooses. The number of entries made.
    int AddDiscFiles();
    // Adds the given disc files (dropped on the window), asking for each where it goes.
    int AddDiscFiles(std::span<const std::filesystem::path> files);

    // After a change inside the open scan object: recounts it and copies its statistics into
    // its entry, which is reported changed.
    void RefreshOpenTotals();

private:
    int ImportDiscFiles(const std::function<int(catalog::DiscFileImport&)>& run);
    catalog::MessageLog& Log();
    catalog::UserInterface& Ui();
    // Deletes one object with what belongs to it; false when it cannot be deleted (the root, a
    // disc's own node, a readme row).
    bool DeleteObject(const CatalogObject& object);
    // Reports the open scan object closing, then drops its disc unsaved.
    void DiscardOpen();
    void ForgetCutWithin(const catalog::CCategory& category);
    void ForgetCut(const CatalogObject& object);
    bool RenameFile(catalog::CFileInfo& file, std::string_view text);

    catalog::CPelkoDoc& m_doc;
    catalog::DiscStore& m_discs;
    BusyState& m_busy;
    const settings::SettingsStore& m_settings;
    bool m_deletePictureFolders;
    OpenScanObject m_open;
    CutList m_cut;
    CatalogChanges* m_changes = nullptr;
};

}  // namespace pelko::shell
