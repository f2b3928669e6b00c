#pragma once
// What the tree and the list do when the user browses the catalog: the step before a tree node is
// selected (closing the open scan object, the missing disc file), opening a scan object, the
// path and statistics lines of the status bar, going to a path typed or taken from the message
// pane, and opening a list row (a node of the tree, or a file on the real medium). The widgets
// only show what these calls decide. UI thread only.
//
// Tree nodes and list rows are CatalogObjects, never null. The open scan object's own node is its disc (a
// CCD); its folders are CDirs below it. With the setting that lists scan objects only
// (g_bListDiskOnly) the tree has no category nodes below the root: every entry of the catalog
// hangs directly under the root, so paths and look-ups go root, entry, folders.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/CatalogObject.h"

namespace pelko::catalog {
class CPelkoDoc;
class DiscStore;
class MessageLog;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::shell {

class BusyState;
class CatalogChanges;
class CatalogEditor;
class MediumLocator;
struct AppSettings;

// Hands a file-system path to the desktop's default program. Its own failure is the desktop's to
// show.
using OpenOnDesktop = std::function<void(const std::filesystem::path&)>;

// Whether a node may be selected now, and what to do instead when not.
struct SelectionCheck {
    bool allowed = true;
    // When the entry's disc file is gone: the node to select instead (its parent in the tree),
    // and the entry the list is to offer for deletion (CatalogEditor::DeleteFromList asks).
    std::optional<CatalogObject> selectInstead;
    catalog::CDiskInfo* offerDeletion = nullptr;
};

enum class EntryOpening {
    Opened,   // the entry's disc is the open scan object now
    Failed,   // nothing is open; the entry stays
    Removed,  // the disc could not be read and the user deleted the entry: it is gone
};

// Where a path leads: the node to select and the row to select in the list it shows.
struct GoToPathResult {
    bool recognised = false;           // false: nothing is to change
    CatalogObject node;                // meaningful when recognised
    std::string rowName;               // the last part, trimmed (model bytes)
    std::optional<CatalogObject> row;  // the first list row of that name, ignoring case
};

// What opening a list row asks of the views.
struct RowOpening {
    enum class Action { None, SelectNode, OpenedOnMedium };
    Action action = Action::None;
    CatalogObject node;  // the tree node to select, for SelectNode
};

class CatalogBrowser {
public:
    CatalogBrowser(catalog::CPelkoDoc& doc, catalog::DiscStore& discs, CatalogEditor& editor,
                   CatalogChanges& changes, BusyState& busy, const AppSettings& settings,
                   MediumLocator& media, OpenOnDesktop openOnDesktop);

    // Before `node` becomes the tree's selection. For an entry other than the open one the open
    // scan object is closed first; when its changes cannot be written it stays open and the
    // selection is refused. An entry whose disc file (plain or ZIP) is missing is refused with a
    // warning, and the result says what to select and offer for deletion instead.
    SelectionCheck BeforeSelect(const CatalogObject& node);

    // Closes the open scan object, writing its changes. False (the disc still open, the failure
    // reported) when they could not be written. True when nothing was open.
    bool CloseOpenScanObject();

    // Opens the entry's disc as the open scan object (closing the one open before), filling the
    // statistics of an entry written before they existed. When the disc cannot be read the user
    // is asked whether to delete the entry.
    EntryOpening OpenEntry(catalog::CDiskInfo& entry);

    // The node's path for the first status pane: the root's name, then the texts of the nodes
    // below it joined by "\" ("Pelko\Music\Disc1\Songs"). Folders of the open scan object go on
    // below its entry, and a file's path goes on below its folder. Empty for the readme row and
    // for folders and files of a disc that is not the open one.
    std::string NodePath(const CatalogObject& node) const;

    // The statistics line of the node shown in the list, for the second status pane (empty for a
    // closed entry, a file or the readme row).
    std::string StatusLine(const CatalogObject& node) const;

    // The node's parent in the tree; nothing for the root and for objects outside the tree.
    std::optional<CatalogObject> TreeParent(const CatalogObject& node) const;
    // The nodes the tree shows below `node`, categories before entries: sub-categories and
    // entries of a category (with g_bListDiskOnly, every entry of the catalog below the root),
    // folders of a folder of the open scan object.
    std::vector<CatalogObject> TreeChildren(const CatalogObject& node) const;
    // The rows the list shows for `node`: sub-categories (not with g_bListDiskOnly) and entries of
    // a category; the readme row (at the open disc's root), sub-folders and files of a folder.
    std::vector<CatalogObject> ListRows(const CatalogObject& node) const;

    // Goes to a path such as "Pelko\Music\Disc1\Songs\a.mp3" (a message-pane line or typed
    // text). Parts are separated by "\" characters (never by the trail byte of a double-byte
    // character), trimmed and compared without regard to case; the first must be the root's
    // name. Each part ended by "\" is looked for among the current node's tree children, an
    // entry found on the way is opened so that its folders can be found, and a part not found
    // is skipped. The last part names a child to go to when there is one, and the row to select.
    // An entry reached by the last part is returned closed: selecting it opens it.
    GoToPathResult ResolvePath(std::string_view path);

    // Opens the selected list row: a category, entry or folder by selecting its tree node, an
    // archive file by selecting its archive folder, any other file of the open scan object with
    // the desktop from the medium it was scanned from (found by its stored folder, or by the
    // label and serial of the mounted volumes). Refused while scanning or searching, and unless
    // exactly one row is selected.
    RowOpening OpenRow(std::span<const CatalogObject> selection);

    // The description text of the one selected object for the properties window; nothing for an
    // empty selection or the readme row, and nothing after telling the user when several objects
    // are selected.
    std::optional<std::string> DescriptionOf(std::span<const CatalogObject> selection);

private:
    catalog::MessageLog& Log();
    catalog::UserInterface& Ui();
    bool DiscFileExists(const catalog::CDiskInfo& entry) const;
    std::string EntryPath(const catalog::CDiskInfo& entry) const;
    std::optional<CatalogObject> StepInto(const CatalogObject& child);
    bool OpenOnMedium(const catalog::CFileInfo& file);
    std::optional<std::filesystem::path> MediumRoot(const catalog::CDiskInfo& entry);

    catalog::CPelkoDoc& m_doc;
    catalog::DiscStore& m_discs;
    CatalogEditor& m_editor;
    CatalogChanges& m_changes;
    BusyState& m_busy;
    const AppSettings& m_settings;
    MediumLocator& m_media;
    OpenOnDesktop m_openOnDesktop;
};

}  // namespace pelko::shell
