#pragma once
// The two catalog panes working together: the tree and the content list, their models, and the
// library pieces they show (the editor, the browser, the disc store, the covers). It turns what
// the user does in the panes into calls of those pieces, and their answers into selections and
// status texts. Every change the pieces make reaches both models through one fan-out, so the
// panes update row by row. UI thread only.

#include <QObject>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "shell/CatalogChanges.h"
#include "shell/CatalogObject.h"
#include "ui/app/AppServices.h"

class QLineEdit;
class QMenu;
class QWidget;

namespace pelko::catalog {
class DiscStore;
}
namespace pelko::shell {
class CatalogBrowser;
class CatalogEditor;
class CoverPictures;
class MediumLocator;
class RowPictures;
}  // namespace pelko::shell

namespace pelko::ui {

class CatalogTreeModel;
class CatalogTreeView;
class ContentListModel;
class ContentListView;

class CatalogBrowsing : public QObject {
    Q_OBJECT
public:
    // The views are made here with `parent` as their parent widget; the window places them.
    CatalogBrowsing(AppServices services, QWidget* parent);
    ~CatalogBrowsing() override;

    CatalogTreeView* Tree() const { return m_tree; }
    ContentListView* List() const { return m_list; }
    CatalogTreeModel* TreeModel() const { return m_treeModel; }
    ContentListModel* ListModel() const { return m_listModel; }
    shell::CatalogEditor& Editor() { return *m_editor; }

    // The memo field of the path bar: it shows the selected row's memo and stores what is typed.
    void SetMemoField(QLineEdit* field);

    // Shows the catalog's root (after start-up, a merge or a new catalog).
    void ShowRoot();
    // Re-reads the view settings (list disc only, extensions, single expand, icon size).
    void ApplySettings();
    // Closes the open scan object, writing its changes; false when they could not be written.
    bool CloseOpenScanObject();
    // Writes the open scan object's changes, if any, keeping it open (the idle step).
    void SaveOpenScanObject();

    // The commands of the panes, each working on the pane that has (or last had) the focus.
    void NewCategory();
    void Delete();
    void Rename();
    // F5: the focus goes to the floating memo editor when it is up, else to the memo field.
    void FocusMemoEditor();
    // "编辑备注": the edit-properties dialog of the selected row.
    void EditProperties();
    // "属性...": the description of the selected object (of the pane last used).
    void ShowProperties();
    void ImportCover();
    void DeleteCover();
    void Cut();
    void Paste();
    void Open();
    void Up();
    void SelectNext(bool forward);
    void ImportDiscFiles();
    // Disc files dropped on the window from the desktop.
    void AddDroppedDiscFiles(const std::vector<std::filesystem::path>& files);
    void Sort();
    void SetViewStyle(int style);
    // Goes to a catalog path such as a message-pane line; false when it names nothing.
    bool GoToPath(const QString& path);

    // What a scan run needs of the panes (CatalogBrowsingScan.cpp).
    catalog::DiscStore& Discs() { return *m_discs; }
    shell::CatalogChanges& Changes() { return m_changes; }
    // The category selected in the tree; a scan object or a folder stands for its category.
    catalog::CCategory* CurrentCategory() const;
    // A scan was filed into `entry`: opens it in the tree, or selects its category there and the
    // entry in the list.
    void ShowScanned(catalog::CDiskInfo& entry, bool openInTree);
    // `entry` is about to get a new disc file: the panes leave its old tree (its edits written
    // first), so the old tree can neither be shown nor written over the new one.
    void ReleaseDisc(const catalog::CDiskInfo& entry);

    // The object selected in the tree, and the rows selected in the list.
    std::optional<shell::CatalogObject> TreeCurrent() const;
    std::vector<shell::CatalogObject> ListSelection() const;
    // Exactly one entry selected in the list (the cover commands need one).
    catalog::CDiskInfo* SelectedEntry() const;

signals:
    void PathTextChanged(const QString& text);
    void StatusTextChanged(const QString& text);
    // A command changed the catalog or a disc: the idle save should run soon.
    void Edited();
    void HidePaneRequested();
    // The memo pane "CDInfo": a disc's readme text to show, or nothing to show any more.
    void ReadmeShown(const QString& text);
    void ReadmeHidden();
    void TreeContextMenuRequested(const QPoint& globalPosition);
    void ListContextMenuRequested(const QPoint& globalPosition);

private:
    void OnTreeCurrentChanged(const QModelIndex& current);
    void OnListSelectionChanged();
    void StoreTypedMemo(const QString& text);
    // The one selected row whose memo the memo editors show and store (not the readme row).
    std::optional<shell::CatalogObject> MemoRow() const;
    void PlaceFloatingMemo();
    bool ShowReadmeOf(const std::vector<shell::CatalogObject>& selection);
    void ShowInList(const shell::CatalogObject& node);
    bool SelectInTree(const shell::CatalogObject& node);
    void RefreshStatus();
    bool TreeHasFocus() const;
    // The objects a command works on: the tree's node or the list's rows, by the pane last used.
    std::vector<shell::CatalogObject> CommandObjects() const;
    void DropOnCategory(const std::vector<shell::CatalogObject>& objects, catalog::CCategory* target);
    catalog::CCategory* ShownCategory() const;

    AppServices m_services;
    std::unique_ptr<catalog::DiscStore> m_discs;
    std::unique_ptr<shell::CatalogEditor> m_editor;
    std::unique_ptr<shell::MediumLocator> m_media;
    std::unique_ptr<shell::CatalogBrowser> m_browser;
    std::unique_ptr<shell::CoverPictures> m_covers;
    std::unique_ptr<shell::RowPictures> m_rowPictures;
    shell::CatalogChangeFanout m_changes;
    // Each model belongs to its view, so it outlives everything that shows it.
    CatalogTreeModel* m_treeModel = nullptr;
    ContentListModel* m_listModel = nullptr;
    CatalogTreeView* m_tree = nullptr;
    ContentListView* m_list = nullptr;
    bool m_lastFocusInTree = true;
    std::optional<shell::CatalogObject> m_beforeReset;  // the tree's node while the tree is read again
    QLineEdit* m_memoField = nullptr;
    QLineEdit* m_floatingMemo = nullptr;  // over the memo cell of the selected row, with PopMem
};

}  // namespace pelko::ui
