#include "ui/dialogs/EditPrintDialog.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "catalog/UserInterface.h"
#include "export/ExportedTexts.h"
#include "text/Codec.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

namespace fs = std::filesystem;

namespace {

// Tree items keep the path they stand for and whether it is a text file.
constexpr int kPathRole = Qt::UserRole;
constexpr int kTextFileRole = Qt::UserRole + 1;

fs::path PathOf(const QTreeWidgetItem* item) {
    return fs::path(item->data(0, kPathRole).toByteArray().toStdString());
}

bool IsTextFile(const QTreeWidgetItem* item) { return item && item->data(0, kTextFileRole).toBool(); }

QString ShownName(const fs::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.native())); }

// The wait cursor while a button works, as for every view button.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void AddNodes(QTreeWidgetItem* parent, const std::vector<exporting::ExportedTextNode>& nodes, const QIcon& folderIcon,
              const QIcon& textIcon) {
    for (const exporting::ExportedTextNode& node : nodes) {
        auto* item = new QTreeWidgetItem(parent);
        item->setText(0, ToQt(node.name));
        item->setIcon(0, node.folder ? folderIcon : textIcon);
        item->setData(0, kPathRole, QByteArray::fromStdString(node.path.native()));
        item->setData(0, kTextFileRole, !node.folder);
        if (node.folder) AddNodes(item, node.children, folderIcon, textIcon);
    }
}

QTreeWidgetItem* FindItem(QTreeWidgetItem* item, const fs::path& file) {
    if (IsTextFile(item) && PathOf(item) == file) return item;
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = FindItem(item->child(i), file)) return found;
    }
    return nullptr;
}

// The exported listings line up "│" with two spaces, as a Chinese fixed-width font draws them: a
// CJK monospace family first, then the desktop's own fixed-width font.
QFont ListingFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                      font.family()});
    return font;
}

QString WithoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

EditPrintDialog::EditPrintDialog(fs::path exportRoot, catalog::UserInterface& ui,
                                 std::function<void(QWidget*)> convert, QWidget* parent)
    : QDialog(parent), m_exportRoot(std::move(exportRoot)), m_ui(ui), m_convertHandler(std::move(convert)) {
    setObjectName(QStringLiteral("EditPrintDialog"));
    setWindowTitle(Tr("编辑打印"));
    setAccessibleName(windowTitle());
    BuildControls();
    if (!fs::is_directory(m_exportRoot)) {
        m_ui.ShowMessage(text::Local("没有找到导出后的文件，请先执行导出到文本文件"));
    } else {
        FillTree();
    }
}

void EditPrintDialog::BuildControls() {
    auto* treeLabel = new QLabel(Tr("光盘页面文件："), this);
    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setAccessibleName(Tr("光盘页面文件："));
    treeLabel->setBuddy(m_tree);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnCurrentChanged(current); });

    auto* viewLabel = new QLabel(Tr("光盘文本内容："), this);
    m_view = new QPlainTextEdit(this);
    m_view->setAccessibleName(Tr("光盘文本内容："));
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setReadOnly(true);  // until a file is shown, so nothing typed goes nowhere
    m_view->setFont(ListingFont());
    viewLabel->setBuddy(m_view);
    // Loading and clearing reset the document's own modified flag, so edits are noted here.
    connect(m_view, &QPlainTextEdit::textChanged, this, [this] { m_edited = true; });

    m_convert = new QPushButton(Tr("转换文本"), this);
    m_selectAll = new QPushButton(Tr("全选(&A)"), this);
    m_copy = new QPushButton(Tr("拷贝(&C)"), this);
    m_delete = new QPushButton(Tr("删除(&D)"), this);
    m_clear = new QPushButton(Tr("清空(&E)"), this);
    m_print = new QPushButton(Tr("打印(&P)"), this);
    m_exit = new QPushButton(Tr("退出"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_convert, m_selectAll, m_copy, m_delete, m_clear, m_print, m_exit}) {
        button->setAccessibleName(WithoutMnemonic(button->text()));
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(m_convert, &QPushButton::clicked, this, &EditPrintDialog::ConvertText);
    connect(m_selectAll, &QPushButton::clicked, this, [this] {
        const WaitCursor wait;
        m_view->selectAll();
        m_view->setFocus();
    });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        const WaitCursor wait;
        m_view->copy();
        m_view->setFocus();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        const WaitCursor wait;
        if (!m_view->isReadOnly()) m_view->textCursor().removeSelectedText();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        const WaitCursor wait;
        if (m_view->isReadOnly()) return;
        m_view->selectAll();
        m_view->textCursor().removeSelectedText();
    });
    connect(m_print, &QPushButton::clicked, this, &EditPrintDialog::Print);
    connect(m_exit, &QPushButton::clicked, this, &EditPrintDialog::reject);

    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(treeLabel);
    treeColumn->addWidget(m_tree, 1);
    auto* viewColumn = new QVBoxLayout;
    viewColumn->addWidget(viewLabel);
    viewColumn->addWidget(m_view, 1);
    auto* panes = new QHBoxLayout;
    panes->addLayout(treeColumn, 1);
    panes->addLayout(viewColumn, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);
    resize(820, 560);
}

void EditPrintDialog::FillTree() {
    const QSignalBlocker block(m_tree);
    m_tree->clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon textIcon = QIcon::fromTheme(QStringLiteral("text-plain"), style()->standardIcon(QStyle::SP_FileIcon));
    auto* root = new QTreeWidgetItem(m_tree);
    root->setText(0, ShownName(m_exportRoot.filename()));
    root->setIcon(0, folderIcon);
    root->setData(0, kPathRole, QByteArray::fromStdString(m_exportRoot.native()));
    root->setData(0, kTextFileRole, false);
    AddNodes(root, exporting::ListExportedTexts(m_exportRoot), folderIcon, textIcon);
    root->setExpanded(true);
    // The root is a folder, so making it current shows nothing; the arrow keys start from it.
    m_tree->setCurrentItem(root);
    m_tree->setFocus();
}

bool EditPrintDialog::ChooseFile(const fs::path& file) {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* item = FindItem(m_tree->topLevelItem(i), file)) {
            m_tree->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

void EditPrintDialog::OnCurrentChanged(QTreeWidgetItem* current) {
    // Folders leave the shown file as it is; choosing a text file first keeps the edit of the last.
    if (!IsTextFile(current)) return;
    SaveBack();
    ShowFile(PathOf(current));
}

void EditPrintDialog::ShowFile(const fs::path& file) {
    const std::optional<std::string> text = exporting::ReadExportedText(file);
    if (!text) {
        ForgetFile();
        m_ui.ShowMessage(text::LocalWith("无法读取文件 %s", text::FromUtf8(file.string())));
        return;
    }
    m_shown = file;
    m_view->setPlainText(ToQt(*text));
    m_edited = false;
    m_view->setReadOnly(false);
}

void EditPrintDialog::ForgetFile() {
    m_shown.clear();
    m_view->clear();
    m_edited = false;
    m_view->setReadOnly(true);
}

bool EditPrintDialog::SaveBack() {
    if (m_shown.empty() || !m_edited) return true;
    if (!exporting::WriteExportedText(m_shown, FromQt(m_view->toPlainText()))) {
        m_ui.ShowMessage(text::LocalWith("无法保存文件 %s", text::FromUtf8(m_shown.string())));
        return false;
    }
    m_edited = false;
    return true;
}

void EditPrintDialog::ConvertText() {
    // The export may write the shown file anew: the edit goes to the disk first, not lost.
    SaveBack();
    ForgetFile();
    if (m_convertHandler) m_convertHandler(this);
    if (fs::is_directory(m_exportRoot)) {
        FillTree();
    } else {
        m_tree->clear();
        m_ui.ShowMessage(text::Local("还没有转换光盘，不能顺利完成编辑和打印工作"));
    }
}

void EditPrintDialog::Print() {
    if (m_shown.empty()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(1, 1, 1, 1), QPageLayout::Inch);
    printer.setDocName(ShownName(m_shown.filename()));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // No printer here: the dialog starts on a PDF file beside the text file, ready for paper.
        fs::path pdf = m_shown;
        pdf.replace_extension(".pdf");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ShownName(pdf));
    }
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setAccessibleName(dialog.windowTitle());
    if (dialog.exec() != QDialog::Accepted) return;
    const WaitCursor wait;
    PrintTo(printer);
}

bool EditPrintDialog::PrintTo(QPrinter& printer) {
    if (m_shown.empty()) return false;
    // The page is laid out in the printer's own units over the area inside the margins, so every
    // page keeps the margins and no line is cut at a page's end.
    QTextDocument document;
    document.setDefaultFont(m_view->font());
    document.setDocumentMargin(0);
    document.setPlainText(m_view->toPlainText());
    document.documentLayout()->setPaintDevice(&printer);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    if (area.isEmpty()) return false;
    document.setPageSize(area.size());
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const int pages = std::max(1, document.pageCount());
    for (int page = 0; page < pages; ++page) {
        if (page > 0) printer.newPage();
        const QRectF shown(0, page * area.height(), area.width(), area.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
    }
    return painter.end();
}

void EditPrintDialog::reject() {
    SaveBack();
    QDialog::reject();
}

}  // namespace pelko::ui
