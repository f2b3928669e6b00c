#include "ui/dialogs/ExportWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

#include <mutex>

#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "export/ExportPaths.h"
#include "export/ExportSink.h"
#include "shell/AppSettings.h"
#include "shell/CatalogObject.h"
#include "ui/app/UiThreadTasks.h"
#include "ui/dialogs/EditPrintDialog.h"
#include "ui/models/CatalogTreeModel.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace fs = std::filesystem;

// Takes the worker's calls on the worker's thread. The path and the progress are only noted, and
// one showing of them is posted while none is waiting, so a worker writing thousands of files
// never floods the window's thread; the end is posted after them, in order.
class ExportWindow::WorkerRelay final : public exporting::ExportSink {
public:
    WorkerRelay(ExportWindow& window, UiThreadTasks& tasks) : m_window(window), m_tasks(tasks) {}

    void ShowPath(const fs::path& file) override {
        const std::lock_guard lock(m_lock);
        m_noted.path = file;
        PostShowingLocked();
    }
    void SetProgress(int percent) override {
        const std::lock_guard lock(m_lock);
        m_noted.percent = percent;
        PostShowingLocked();
    }
    void FileWritten(const fs::path&) override {}
    void ExportFinished(exporting::ExportEnd) override {
        ExportWindow* window = &m_window;
        m_tasks.Post([window] { window->OnWorkerFinished(); });
    }

    struct Noted {
        fs::path path;
        int percent = 0;
    };
    // Window thread: what was noted last.
    Noted Take() {
        const std::lock_guard lock(m_lock);
        m_showingPosted = false;
        return m_noted;
    }
    void Forget() {
        const std::lock_guard lock(m_lock);
        m_noted = {};
    }

private:
    void PostShowingLocked() {
        if (m_showingPosted) return;
        m_showingPosted = true;
        ExportWindow* window = &m_window;
        m_tasks.Post([window] { window->ShowNoted(); });
    }

    ExportWindow& m_window;
    UiThreadTasks& m_tasks;
    std::mutex m_lock;
    Noted m_noted;
    bool m_showingPosted = false;
};

ExportWindow::ExportWindow(AppServices services, exporting::ExportFormat mode,
                           const catalog::CCategory* preselected, QWidget* parent)
    : QDialog(parent), m_services(services), m_tasks(std::make_unique<UiThreadTasks>()) {
    setObjectName(QStringLiteral("ExportWindow"));
    m_relay = std::make_unique<WorkerRelay>(*this, *m_tasks);
    BuildControls();
    catalog::CPelkoDoc& doc = m_services.doc;
    m_logic = std::make_unique<exporting::ExportDialog>(
        exporting::ExportDialog::Services{doc.CatalogFolder(), *doc.Root(), m_services.options.exportStyle,
                                          doc.Log(), m_services.ui, m_services.opener},
        mode, static_cast<exporting::ExportDialogView&>(*this), *m_relay);
    setWindowTitle(ToQt(m_logic->Caption()));
    setAccessibleName(windowTitle());
    m_logic->Open();
    FillTree(preselected);
}

ExportWindow::~ExportWindow() {
    // The worker stops and is joined here, while the relay and the queue it posts to still exist.
    m_logic.reset();
}

void ExportWindow::Run(AppServices services, exporting::ExportFormat mode, const catalog::CCategory* preselected,
                       QWidget* parent) {
    ExportWindow window(services, mode, preselected, parent);
    window.exec();
}

void ExportWindow::BuildControls() {
    auto* treeLabel = new QLabel(Tr("选择待转换的对象"), this);
    m_tree = new QTreeView(this);
    m_tree->setAccessibleName(Tr("选择待转换的对象"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setDragEnabled(false);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    treeLabel->setBuddy(m_tree);

    m_export = new QPushButton(Tr("导出"), this);
    m_stop = new QPushButton(Tr("停止"), this);
    m_editPrint = new QPushButton(Tr("编辑和打印"), this);
    m_exit = new QPushButton(Tr("退出"), this);
    m_stop->setEnabled(false);
    for (QPushButton* button : {m_export, m_stop, m_editPrint, m_exit}) {
        button->setAccessibleName(button->text());
        button->setAutoDefault(false);
    }
    connect(m_export, &QPushButton::clicked, this, &ExportWindow::StartExport);
    connect(m_stop, &QPushButton::clicked, this, &ExportWindow::StopExport);
    connect(m_editPrint, &QPushButton::clicked, this, [this] { m_logic->EditAndPrint(); });
    connect(m_exit, &QPushButton::clicked, this, &ExportWindow::reject);

    auto* conditions = new QGroupBox(Tr("导出条件"), this);
    conditions->setAccessibleName(conditions->title());
    m_foldersOnly = new QCheckBox(Tr("仅导出目录结构"), conditions);
    m_allTypes = new QCheckBox(Tr("导出所有类型的文件"), conditions);
    m_showProgress = new QCheckBox(Tr("显示导出提示和进度"), conditions);
    m_listedTypes = new QCheckBox(Tr("只导出以下类型的文件"), conditions);
    m_showProgress->setChecked(true);
    for (QCheckBox* box : {m_foldersOnly, m_allTypes, m_showProgress, m_listedTypes}) {
        box->setAccessibleName(box->text());
    }
    auto* typeLabel = new QLabel(Tr("文件类型以 ; 间隔"), conditions);
    m_typeList = new QLineEdit(ToQt(exporting::ExportFilter::kDefaultTypeList), conditions);
    m_typeList->setAccessibleName(typeLabel->text());
    typeLabel->setBuddy(m_typeList);
    connect(m_foldersOnly, &QCheckBox::toggled, this, [this](bool on) { m_logic->SetFoldersOnly(on); });
    connect(m_allTypes, &QCheckBox::toggled, this, [this](bool on) { m_logic->SetAllTypes(on); });
    connect(m_listedTypes, &QCheckBox::toggled, this, [this](bool on) { m_logic->SetListedTypes(on); });
    connect(m_showProgress, &QCheckBox::toggled, this, [this](bool on) { m_logic->SetShowProgress(on); });

    auto* grid = new QVBoxLayout(conditions);
    auto* firstRow = new QHBoxLayout;
    firstRow->addWidget(m_foldersOnly);
    firstRow->addWidget(m_allTypes);
    firstRow->addWidget(m_showProgress);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(m_listedTypes);
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(m_typeList, 1);
    grid->addLayout(firstRow);
    grid->addLayout(typeRow);

    auto* note = new QLabel(Tr("注意，不显示导出进度和提示，导出速度更快!!!"), this);
    m_pathText = new QLabel(this);
    m_pathText->setTextFormat(Qt::PlainText);  // a file name is never markup
    m_pathText->setMinimumWidth(200);
    m_pathText->setAccessibleDescription(Tr("正在导出的文件"));
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setAccessibleName(Tr("导出进度"));
    // Their room stays while they are hidden, so the window does not jump when an export starts.
    for (QWidget* widget : std::initializer_list<QWidget*>{m_pathText, m_progress}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
        widget->hide();
    }

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_export, m_stop, m_editPrint, m_exit}) buttons->addWidget(button);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(treeLabel);
    treeColumn->addWidget(m_tree, 1);
    top->addLayout(treeColumn, 1);
    top->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(conditions);
    layout->addWidget(note);
    layout->addWidget(m_pathText);
    layout->addWidget(m_progress);
    resize(600, 480);
}

void ExportWindow::FillTree(const catalog::CCategory* preselected) {
    m_treeModel = new CatalogTreeModel(m_tree);
    m_treeModel->SetListDiskOnly(m_services.options.bListDiskOnly);
    m_treeModel->SetRoot(m_services.doc.Root());
    m_tree->setModel(m_treeModel);
    const QModelIndex root = m_treeModel->index(0, 0);
    m_tree->expand(root);
    QModelIndex chosen = root;
    if (preselected != nullptr) {
        // The model names objects by non-const pointers; it only compares them here.
        const QModelIndex found =
            m_treeModel->RevealIndexOf(shell::CatalogObject(const_cast<catalog::CCategory*>(preselected)));
        if (found.isValid()) chosen = found;
    }
    m_tree->setCurrentIndex(chosen);
    m_tree->expand(chosen);
    m_tree->scrollTo(chosen);
    m_tree->setFocus();
}

exporting::ExportTarget ExportWindow::ChosenTarget() const {
    const QModelIndex current = m_tree->currentIndex();
    if (const catalog::CDiskInfo* entry = m_treeModel->EntryAt(current)) return entry;
    if (const catalog::CCategory* category = m_treeModel->CategoryAt(current)) return category;
    return static_cast<const catalog::CCategory*>(m_services.doc.Root());
}

void ExportWindow::StartExport() {
    m_logic->SetTypeList(FromQt(m_typeList->text()));
    m_logic->SetShowProgress(m_showProgress->isChecked());
    m_relay->Forget();
    m_pathText->clear();
    m_logic->Start(ChosenTarget());
}

void ExportWindow::StopExport() { m_logic->Stop(); }

void ExportWindow::ShowControls(const exporting::ExportControls& c) {
    m_export->setEnabled(c.exportEnabled);
    m_stop->setEnabled(c.stopEnabled);
    m_exit->setEnabled(c.exitEnabled);
    // Another export started from the edit-and-print window would write the same files.
    m_editPrint->setEnabled(c.exportEnabled);
    {
        const QSignalBlocker blockAll(m_allTypes);
        const QSignalBlocker blockListed(m_listedTypes);
        m_allTypes->setChecked(c.allTypesChecked);
        m_listedTypes->setChecked(c.listedTypesChecked);
    }
    m_allTypes->setEnabled(c.allTypesEnabled);
    m_listedTypes->setEnabled(c.listedTypesEnabled);
    m_typeList->setEnabled(c.typeListEnabled);
    m_pathText->setVisible(c.progressVisible);
    m_progress->setVisible(c.progressVisible);
}

void ExportWindow::SetProgress(int percent) { m_progress->setValue(percent); }

void ExportWindow::ShowNoted() {
    const WorkerRelay::Noted noted = m_relay->Take();
    if (!m_logic->IsExporting()) return;
    m_pathText->setText(QFile::decodeName(QByteArray::fromStdString(noted.path.native())));
    m_progress->setValue(noted.percent);
}

void ExportWindow::OnWorkerFinished() {
    m_logic->OnExportFinished();
    if (m_closeWhenFinished) {
        m_closeWhenFinished = false;
        QDialog::reject();
    }
}

void ExportWindow::OpenEditAndPrint() {
    AppServices services = m_services;
    EditPrintDialog dialog(exporting::CategoryFolder(m_services.doc.CatalogFolder(), *m_services.doc.Root()),
                           m_services.ui,
                           [services](QWidget* parent) {
                               ExportWindow::Run(services, exporting::ExportFormat::Text, nullptr, parent);
                           },
                           this);
    dialog.exec();
}

void ExportWindow::reject() {
    if (m_logic->IsExporting()) return;
    QDialog::reject();
}

void ExportWindow::closeEvent(QCloseEvent* event) {
    if (m_logic->IsExporting()) {
        // The export stops at its next check; the window closes when the worker says it has ended.
        m_closeWhenFinished = true;
        m_logic->Stop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace pelko::ui
