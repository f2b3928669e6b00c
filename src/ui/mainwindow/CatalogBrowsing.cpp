#include "ui/mainwindow/CatalogBrowsing.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeView>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "platform/DesktopServices.h"
#include "shell/AppSettings.h"
#include "shell/CatalogBrowser.h"
#include "shell/CatalogEditor.h"
#include "shell/CoverPictures.h"
#include "shell/MediumLocator.h"
#include "shell/RowPictures.h"
#include "ui/dialogs/PictureChooser.h"
#include "ui/models/CatalogMime.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/models/ContentListModel.h"
#include "ui/text/QtText.h"
#include "ui/views/CatalogTreeView.h"
#include "ui/views/ContentListView.h"

namespace pelko::ui {
namespace {

// A wait cursor for the length of a scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

catalog::CCategory* AsCategory(const std::optional<shell::CatalogObject>& object) {
    if (!object) return nullptr;
    auto* const* category = std::get_if<catalog::CCategory*>(&*object);
    return category ? *category : nullptr;
}

}  // namespace

CatalogBrowsing::CatalogBrowsing(AppServices services, QWidget* parent) : QObject(parent), m_services(services) {
    auto& doc = m_services.doc;
    m_discs = std::make_unique<catalog::DiscStore>(doc.CatalogFolder(), doc.Log());
    m_editor = std::make_unique<shell::CatalogEditor>(doc, *m_discs, m_services.busy, m_services.settings,
                                                      m_services.options.bDelPicDir);
    m_media = std::make_unique<shell::SystemMediumLocator>();
    m_browser = std::make_unique<shell::CatalogBrowser>(
        doc, *m_discs, *m_editor, m_changes, m_services.busy, m_services.options, *m_media,
        [](const std::filesystem::path& file) { platform::OpenWithDesktop(file.string()); });
    m_covers = std::make_unique<shell::CoverPictures>(*m_discs, doc.Log());

    m_tree = new CatalogTreeView(parent);
    m_tree->setObjectName(QStringLiteral("tree"));
    m_treeModel = new CatalogTreeModel(m_tree);
    m_tree->setModel(m_treeModel);
    m_listModel = new ContentListModel(parent);
    m_rowPictures = std::make_unique<shell::RowPictures>(*m_discs, *m_covers);
    m_list = new ContentListView(
        *m_listModel, [pictures = m_rowPictures.get()](const shell::CatalogObject& row) { return pictures->PictureOf(row); },
        [pictures = m_rowPictures.get()](const std::filesystem::path& file) {
            return pictures->RestoreDefaultPicture(file);
        },
        parent);
    m_listModel->setParent(m_list);
    m_list->setObjectName(QStringLiteral("list"));

    m_changes.Add(*m_treeModel);
    m_changes.Add(*m_listModel);
    m_editor->ReportChangesTo(&m_changes);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnTreeCurrentChanged(current); });
    // After a whole-tree change (sorting, merging) the user stays where they were.
    connect(m_treeModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_beforeReset = TreeCurrent(); });
    connect(m_treeModel, &QAbstractItemModel::modelReset, this, [this] {
        const std::optional<shell::CatalogObject> was = std::exchange(m_beforeReset, std::nullopt);
        if (!was || !SelectInTree(*was)) {
            const QModelIndex root = m_treeModel->index(0, 0);
            m_tree->expand(root);
            m_tree->setCurrentIndex(root);
        }
    });
    connect(m_treeModel, &CatalogTreeModel::RenameRequested, this,
            [this](const shell::CatalogObject& object, const QString& text) {
                if (m_editor->RenameInTree(object, FromQt(text))) emit Edited();
                RefreshStatus();
            });
    connect(m_listModel, &ContentListModel::RenameRequested, this,
            [this](const shell::CatalogObject& object, const QString& text) {
                if (m_editor->RenameInList(object, FromQt(text))) emit Edited();
            });
    connect(m_listModel, &ContentListModel::MemoEditRequested, this,
            [this](const shell::CatalogObject& object, const QString& text) {
                if (m_editor->EditMemoInList(object, FromQt(text))) emit Edited();
            });
    connect(m_treeModel, &CatalogTreeModel::DropRequested, this, &CatalogBrowsing::DropOnCategory);
    connect(m_listModel, &ContentListModel::DropRequested, this, &CatalogBrowsing::DropOnCategory);

    connect(m_tree, &CatalogTreeView::FocusListRequested, this, [this] { m_list->CurrentView()->setFocus(); });
    connect(m_tree, &CatalogTreeView::HidePaneRequested, this, &CatalogBrowsing::HidePaneRequested);
    connect(m_tree, &CatalogTreeView::DeleteRequested, this, [this] {
        m_lastFocusInTree = true;
        Delete();
    });
    connect(m_tree, &CatalogTreeView::RenameRequested, this, [this] {
        m_lastFocusInTree = true;
        Rename();
    });
    connect(m_tree, &CatalogTreeView::MemoEditRequested, this, &CatalogBrowsing::FocusMemoEditor);
    connect(m_tree, &CatalogTreeView::ContextMenuRequested, this, &CatalogBrowsing::TreeContextMenuRequested);

    connect(m_list, &ContentListView::OpenRequested, this, &CatalogBrowsing::Open);
    connect(m_list, &ContentListView::UpRequested, this, &CatalogBrowsing::Up);
    connect(m_list, &ContentListView::FocusTreeRequested, this, [this] { m_tree->setFocus(); });
    connect(m_list, &ContentListView::TabPressed, this, [this] {
        if (m_floatingMemo->isVisible()) m_floatingMemo->setFocus();
        else m_tree->setFocus();
    });
    connect(m_list, &ContentListView::HidePaneRequested, this, &CatalogBrowsing::HidePaneRequested);
    connect(m_list, &ContentListView::RenameRequested, this, [this] {
        m_lastFocusInTree = false;
        Rename();
    });
    connect(m_list, &ContentListView::MemoFieldRequested, this, &CatalogBrowsing::FocusMemoEditor);
    connect(m_list, &ContentListView::SelectionChanged, this, &CatalogBrowsing::OnListSelectionChanged);

    // The floating memo editor sits over the memo cell and goes away when the list scrolls.
    m_floatingMemo = new QLineEdit(m_list->ReportView()->viewport());
    m_floatingMemo->setObjectName(QStringLiteral("floating-memo"));
    m_floatingMemo->setAccessibleName(Tr("备注"));
    m_floatingMemo->hide();
    connect(m_floatingMemo, &QLineEdit::textEdited, this, &CatalogBrowsing::StoreTypedMemo);
    connect(m_list->ReportView()->verticalScrollBar(), &QScrollBar::valueChanged, m_floatingMemo, &QWidget::hide);
    connect(m_list->ReportView()->horizontalScrollBar(), &QScrollBar::valueChanged, m_floatingMemo, &QWidget::hide);
    connect(m_list, &ContentListView::NewCategoryRequested, this, &CatalogBrowsing::NewCategory);
    connect(m_list, &ContentListView::DeleteRequested, this, [this] {
        m_lastFocusInTree = false;
        Delete();
    });
    connect(m_list, &ContentListView::ContextMenuRequested, this, &CatalogBrowsing::ListContextMenuRequested);

    // Which pane a command of the menus works on: the one the user was in last.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now) return;
        if (now == m_tree || m_tree->isAncestorOf(now)) m_lastFocusInTree = true;
        else if (m_list->isAncestorOf(now)) m_lastFocusInTree = false;
    });

    ApplySettings();
    m_list->SetStyle(m_services.options.lastViewStyle);
}

CatalogBrowsing::~CatalogBrowsing() { m_editor->ReportChangesTo(nullptr); }

void CatalogBrowsing::ApplySettings() {
    auto& options = m_services.options;
    auto& settings = m_services.settings;
    m_treeModel->SetListDiskOnly(options.bListDiskOnly);
    m_listModel->SetListDiskOnly(options.bListDiskOnly);
    m_listModel->SetShowExtensions(options.IntValue(settings, "DispExt") != 0);
    m_tree->SetSingleExpand(options.IntValue(settings, "ExpandSingleTreeItem") == 1);
    m_list->SetLargeIconSize(QSize(options.bigIconX, options.bigIconY));
    m_list->SetShowMemoTips(options.IntValue(settings, "BigIconMemo") != 0);
    PlaceFloatingMemo();
}

void CatalogBrowsing::ShowRoot() {
    m_listModel->ShowNothing();
    // The tree's reset selects and opens the root, which the list then shows.
    m_treeModel->SetRoot(m_services.doc.Root());
}

bool CatalogBrowsing::CloseOpenScanObject() { return m_browser->CloseOpenScanObject(); }

void CatalogBrowsing::SaveOpenScanObject() {
    if (auto& cd = m_editor->Open().cd) m_discs->Save(*cd);
}

std::optional<shell::CatalogObject> CatalogBrowsing::TreeCurrent() const {
    return m_treeModel->ObjectAt(m_tree->currentIndex());
}

std::vector<shell::CatalogObject> CatalogBrowsing::ListSelection() const { return m_list->SelectedObjects(); }

catalog::CDiskInfo* CatalogBrowsing::SelectedEntry() const {
    const auto selection = ListSelection();
    if (selection.size() != 1) return nullptr;
    auto* const* entry = std::get_if<catalog::CDiskInfo*>(&selection.front());
    return entry ? *entry : nullptr;
}

catalog::CCategory* CatalogBrowsing::ShownCategory() const { return AsCategory(m_listModel->ShownNode()); }

bool CatalogBrowsing::TreeHasFocus() const { return m_lastFocusInTree; }

void CatalogBrowsing::OnTreeCurrentChanged(const QModelIndex& current) {
    const std::optional<shell::CatalogObject> object = m_treeModel->ObjectAt(current);
    if (!object) {
        m_listModel->ShowNothing();
        RefreshStatus();
        return;
    }
    WaitCursor wait;
    if (auto* const* entry = std::get_if<catalog::CDiskInfo*>(&*object)) {
        const shell::SelectionCheck check = m_browser->BeforeSelect(*object);
        if (!check.allowed) {
            // The entry cannot be shown: go to its parent and, when its disc file is gone, offer
            // to delete it from there.
            if (check.selectInstead) SelectInTree(*check.selectInstead);
            if (check.offerDeletion) {
                m_list->SelectOnly(shell::CatalogObject{check.offerDeletion});
                const shell::CatalogObject doomed{check.offerDeletion};
                if (m_editor->DeleteFromList(std::span(&doomed, 1))) emit Edited();
            }
            return;
        }
        catalog::CDiskInfo* chosen = *entry;
        switch (m_browser->OpenEntry(*chosen)) {
        case shell::EntryOpening::Opened:
            ShowInList(shell::CatalogObject{static_cast<catalog::CDir*>(m_editor->Open().cd.get())});
            emit Edited();  // statistics filled in for an old entry mark the catalog modified
            break;
        case shell::EntryOpening::Failed: m_listModel->ShowNothing(); break;
        case shell::EntryOpening::Removed: emit Edited(); return;
        }
        RefreshStatus();
        return;
    }
    ShowInList(*object);
    RefreshStatus();
}

void CatalogBrowsing::ShowInList(const shell::CatalogObject& node) {
    emit ReadmeHidden();
    m_listModel->Show(node);
    m_list->CurrentView()->scrollToTop();
}

void CatalogBrowsing::RefreshStatus() {
    const std::optional<shell::CatalogObject> node = TreeCurrent();
    emit PathTextChanged(node ? ToQt(m_browser->NodePath(*node)) : QString());
    const std::optional<shell::CatalogObject> shown = m_listModel->ShownNode();
    emit StatusTextChanged(shown ? ToQt(m_browser->StatusLine(*shown)) : QString());
}

bool CatalogBrowsing::SelectInTree(const shell::CatalogObject& node) {
    const QModelIndex index = m_treeModel->RevealIndexOf(node);
    if (!index.isValid()) return false;
    m_tree->scrollTo(index);
    m_tree->setCurrentIndex(index);
    return true;
}

void CatalogBrowsing::NewCategory() {
    const std::optional<shell::CatalogObject> current = TreeCurrent();
    catalog::CCategory* made = m_editor->NewCategory(current ? &*current : nullptr);
    if (!made) return;
    emit Edited();
    // The list shows the category it was made in: name it there at once.
    if (m_list->SelectOnly(shell::CatalogObject{made})) {
        m_list->CurrentView()->setFocus();
        m_list->EditName();
    }
    RefreshStatus();
}

void CatalogBrowsing::Delete() {
    if (TreeHasFocus()) {
        const std::optional<shell::CatalogObject> current = TreeCurrent();
        if (!current) return;
        const std::optional<shell::CatalogObject> parent = m_browser->TreeParent(*current);
        if (!m_editor->DeleteFromTree(*current)) return;
        if (parent) SelectInTree(*parent);
    } else {
        const auto selection = ListSelection();
        if (!m_editor->DeleteFromList(selection)) return;
    }
    emit Edited();
    RefreshStatus();
}

void CatalogBrowsing::Rename() {
    if (TreeHasFocus()) {
        const QModelIndex current = m_tree->currentIndex();
        // The root keeps its name; the model says which nodes take a new one.
        if (current.isValid() && current.parent().isValid() && (m_treeModel->flags(current) & Qt::ItemIsEditable))
            m_tree->edit(current);
        return;
    }
    if (m_editor->MayEditOne(ListSelection())) m_list->EditName();
}

std::vector<shell::CatalogObject> CatalogBrowsing::CommandObjects() const {
    if (!TreeHasFocus()) return ListSelection();
    if (auto current = TreeCurrent()) return {*current};
    return {};
}

void CatalogBrowsing::ImportCover() {
    catalog::CDiskInfo* entry = SelectedEntry();
    if (!entry) return;
    const std::optional<std::filesystem::path> picture = ChooseCoverPicture(m_list->window());
    if (!picture) return;
    m_covers->Import(*entry, *picture);
    m_list->RefreshPictures();
}

void CatalogBrowsing::DeleteCover() {
    catalog::CDiskInfo* entry = SelectedEntry();
    if (!entry) return;
    m_covers->Delete(*entry);
    m_list->RefreshPictures();
}

void CatalogBrowsing::Cut() {
    const auto selection = ListSelection();
    m_editor->CutObjects(ShownCategory(), selection);
    // The clipboard holds the cut rows in the program's private format, so that copying anything
    // else in between ends the cut as it does in a file manager.
    if (QMimeData* data = EncodeCatalogObjects(m_editor->Cut().objects)) QApplication::clipboard()->setMimeData(data);
}

void CatalogBrowsing::Paste() {
    const std::optional<shell::CatalogObject> current = TreeCurrent();
    if (!current) return;
    if (!DecodeCatalogObjects(QApplication::clipboard()->mimeData())) m_editor->CutObjects(nullptr, {});
    catalog::CCategory* target = m_editor->Paste(*current);
    if (!target) return;
    emit Edited();
    SelectInTree(shell::CatalogObject{target});
}

void CatalogBrowsing::DropOnCategory(const std::vector<shell::CatalogObject>& objects, catalog::CCategory* target) {
    std::optional<shell::CatalogObject> select;
    for (const shell::CatalogObject& object : objects) {
        if (auto moved = m_editor->Drop(object, target)) select = moved;
    }
    if (!select) return;
    emit Edited();
    SelectInTree(*select);
    const QModelIndex index = m_tree->currentIndex();
    if (index.isValid()) m_tree->expand(index);
}

void CatalogBrowsing::Open() {
    const auto selection = ListSelection();
    // Opening the readme row shows the disc's readme text in the memo pane.
    if (ShowReadmeOf(selection)) return;
    const shell::RowOpening opening = m_browser->OpenRow(selection);
    if (opening.action == shell::RowOpening::Action::SelectNode) SelectInTree(opening.node);
}

void CatalogBrowsing::Up() {
    const std::optional<shell::CatalogObject> current = TreeCurrent();
    if (!current) return;
    if (const auto parent = m_browser->TreeParent(*current)) SelectInTree(*parent);
}

void CatalogBrowsing::SelectNext(bool forward) { m_list->SelectNext(forward); }

void CatalogBrowsing::ImportDiscFiles() {
    if (m_editor->AddDiscFiles() > 0) emit Edited();
}

void CatalogBrowsing::AddDroppedDiscFiles(const std::vector<std::filesystem::path>& files) {
    if (m_editor->AddDiscFiles(files) > 0) emit Edited();
}

void CatalogBrowsing::Sort() {
    WaitCursor wait;
    if (m_editor->Sort()) emit Edited();
}

void CatalogBrowsing::SetViewStyle(int style) {
    m_list->SetStyle(style);
    PlaceFloatingMemo();
}

bool CatalogBrowsing::GoToPath(const QString& path) {
    WaitCursor wait;
    const shell::GoToPathResult result = m_browser->ResolvePath(FromQt(path));
    if (!result.recognised) return false;
    SelectInTree(result.node);
    if (result.row) m_list->SelectOnly(*result.row);
    else m_list->Selection()->clearSelection();
    return true;
}

}  // namespace pelko::ui
