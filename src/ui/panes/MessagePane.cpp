#include "ui/panes/MessagePane.h"

#include "catalog/CRootCategory.h"
#include "export/MessageLines.h"
#include "export/RtfReader.h"
#include "export/RtfWriter.h"
#include "text/Codec.h"
#include "ui/text/QtText.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <ctime>

namespace pelko::ui {

namespace {

using catalog::MessageKind;

// Lines moved into the document per event-loop turn: large enough that a flood of posts is
// shown quickly, small enough that input and painting run between two batches.
constexpr std::size_t kLinesPerTurn = 2000;

QColor ToColour(exporting::Rgb c) { return QColor(c.r, c.g, c.b); }

exporting::Rgb FromColour(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

QTextCharFormat LineFormat(exporting::Rgb colour) {
    QTextCharFormat format;
    format.setFontPointSize(exporting::kMessagePointSize);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setForeground(ToColour(colour));
    return format;
}

// The format of a kind's lines, made once per kind.
const QTextCharFormat& KindFormat(MessageKind kind) {
    static const std::array<QTextCharFormat, 8> formats = [] {
        std::array<QTextCharFormat, 8> made;
        for (std::size_t k = 0; k < made.size(); ++k)
            made[k] = LineFormat(exporting::MessageColour(static_cast<MessageKind>(k)));
        return made;
    }();
    return formats[static_cast<std::size_t>(kind) % formats.size()];  // kinds are 1 to 7
}

// Model text as document text: line ends of any style become paragraph breaks.
QString DocumentText(std::string_view modelText) {
    QString text = ToQt(modelText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

MessagePane::MessagePane(QWidget* parent) : QWidget(parent) {
    const QString name = Tr("提示信息");
    setAccessibleName(name);
    setObjectName(QStringLiteral("MessagePane"));

    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("MessagePaneText"));
    m_edit->setAccessibleName(name);
    m_edit->setReadOnly(true);
    m_edit->setUndoRedoEnabled(false);  // a log of 100,000 lines must not keep an undo history
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_edit->setContextMenuPolicy(Qt::CustomContextMenu);
    m_edit->installEventFilter(this);
    m_edit->viewport()->installEventFilter(this);
    connect(m_edit, &QWidget::customContextMenuRequested, this, &MessagePane::ShowContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);

    const struct {
        const char* text;
        void (MessagePane::*command)();
    } entries[] = {
        {"打开...", &MessagePane::OpenFile},     {"保存...", &MessagePane::SaveToFile},
        {"全选", &MessagePane::SelectAll},       {"拷贝", &MessagePane::CopySelection},
        {"删除", &MessagePane::DeleteSelection}, {"清空所有信息", &MessagePane::ClearAll},
    };
    for (const auto& entry : entries) {
        auto* action = new QAction(Tr(entry.text), this);
        connect(action, &QAction::triggered, this, entry.command);
        m_contextActions.push_back(action);
    }
}

MessagePane::~MessagePane() = default;

void MessagePane::Post(MessageKind kind, std::string_view text) {
    std::tm now{};
    if (kind == MessageKind::TimeStamp) {
        const std::time_t seconds = std::time(nullptr);
        localtime_r(&seconds, &now);
    }
    std::string line = exporting::MessageLine(kind, text, now);
    const bool onUiThread = QThread::currentThread() == thread();
    bool schedule = false;
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back({kind, std::move(line)});
        if (!onUiThread && !m_drainScheduled) {
            m_drainScheduled = true;
            schedule = true;
        }
    }
    // On the UI thread the line is shown at once, after whatever workers queued before it.
    if (onUiThread) {
        Drain();
    } else if (schedule) {
        QMetaObject::invokeMethod(this, &MessagePane::Drain, Qt::QueuedConnection);
    }
}

void MessagePane::Flush() {
    for (;;) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_queue.empty()) return;
        }
        Drain();
    }
}

void MessagePane::Drain() {
    if (m_draining) return;  // a post from a slot of ShowRequested: the running drain takes it
    m_draining = true;
    std::vector<Pending> batch;
    bool more = false;
    {
        const std::lock_guard lock(m_mutex);
        const std::size_t n = std::min(kLinesPerTurn, m_queue.size());
        batch.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            batch.push_back(std::move(m_queue.front()));
            m_queue.pop_front();
        }
        more = !m_queue.empty();
        m_drainScheduled = more;
    }
    if (!batch.empty()) {
        if (!isVisible()) emit ShowRequested();
        QTextCursor end(m_edit->document());
        end.movePosition(QTextCursor::End);
        end.beginEditBlock();
        for (const Pending& line : batch) AppendLine(end, line.kind, line.text);
        end.endEditBlock();
        ScrollToEnd();
    }
    m_draining = false;
    if (more) QMetaObject::invokeMethod(this, &MessagePane::Drain, Qt::QueuedConnection);
}

void MessagePane::AppendLine(QTextCursor& end, MessageKind kind, const std::string& line) {
    // Runs once per line of a flood: blocks are tested by length (an empty block is 1 long, its
    // separator) rather than by a copy of their text, and formats and warning are made once.
    static const QString warning = ToQt(exporting::MessageLimitWarning()) + QLatin1Char('\n');
    static const QTextCharFormat warningFormat = LineFormat(exporting::kLimitWarningColour);

    // Every line starts on a line of its own, even after loading a file whose last line has no
    // line end.
    if (end.block().length() > 1) end.insertText(QStringLiteral("\n"));
    end.insertText(DocumentText(line) + QLatin1Char('\n'), KindFormat(kind));
    if (LineCount() > exporting::kMessageLineLimit) end.insertText(warning, warningFormat);
}

void MessagePane::ScrollToEnd() {
    QTextCursor caret(m_edit->document());
    caret.movePosition(QTextCursor::End);
    m_edit->setTextCursor(caret);
    m_edit->verticalScrollBar()->setValue(m_edit->verticalScrollBar()->maximum());
}

int MessagePane::LineCount() const {
    const QTextDocument* document = m_edit->document();
    const int blocks = document->blockCount();
    return document->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

void MessagePane::SetCatalog(const catalog::CRootCategory* root) { m_root = root; }

void MessagePane::HighlightNewLines() {
    if (m_root == nullptr || m_highlighted >= LineCount()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString mark = QStringLiteral("Pelko\\");
    QTextCharFormat red;
    red.setForeground(ToColour(exporting::kHighlightColour));
    QTextCursor cursor(m_edit->document());
    cursor.beginEditBlock();
    const int lines = LineCount();
    for (QTextBlock block = m_edit->document()->findBlockByNumber(m_highlighted);
         block.isValid() && m_highlighted < lines; block = block.next(), ++m_highlighted) {
        const QString text = block.text();
        if (!text.contains(mark)) continue;  // cheap test before the conversion
        const std::string bytes = FromQt(text);
        const auto span = exporting::FindScanObjectName(bytes, *m_root);
        if (!span) continue;
        const auto from = static_cast<int>(ToQt(std::string_view(bytes).substr(0, span->offset)).size());
        const auto length =
            static_cast<int>(ToQt(std::string_view(bytes).substr(span->offset, span->length)).size());
        cursor.setPosition(block.position() + from);
        cursor.setPosition(block.position() + from + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(red);
    }
    cursor.endEditBlock();
    QApplication::restoreOverrideCursor();
}

bool MessagePane::NamesItem(const QString& line) const {
    return m_root != nullptr && exporting::NamesCatalogItem(FromQt(line), m_root->m_strName);
}

void MessagePane::SelectBlock(const QTextBlock& block) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
}

void MessagePane::GoToCaretLine() {
    const QTextBlock block = m_edit->textCursor().block();
    SelectBlock(block);
    const QString line = block.text();
    if (NamesItem(line)) emit GoToItem(line);
    m_edit->setFocus();
}

void MessagePane::WalkLines(bool forward) {
    QTextBlock block = m_edit->textCursor().block();
    for (;;) {
        const QTextBlock next = forward ? block.next() : block.previous();
        if (!next.isValid()) break;
        block = next;
        const QString line = block.text();
        if (NamesItem(line)) {
            SelectBlock(block);
            m_edit->verticalScrollBar()->setValue(block.blockNumber());
            emit GoToItem(line);
            m_edit->setFocus();
            return;
        }
    }
    // No line further on names an item: the caret rests at the start of the last line walked.
    m_edit->setTextCursor(QTextCursor(block));
    m_edit->setFocus();
}

void MessagePane::NextLine() { WalkLines(true); }
void MessagePane::PreviousLine() { WalkLines(false); }

void MessagePane::SelectAll() {
    m_edit->setFocus();
    m_edit->selectAll();
}

void MessagePane::CopySelection() { m_edit->copy(); }

void MessagePane::DeleteSelection() {
    QTextCursor cursor = m_edit->textCursor();
    if (!cursor.hasSelection()) return;
    // Lines after the deleted ones move up; look at them again rather than skip any.
    const int first = m_edit->document()->findBlock(cursor.selectionStart()).blockNumber();
    m_highlighted = std::min(m_highlighted, first);
    cursor.removeSelectedText();
    m_edit->setTextCursor(cursor);
}

void MessagePane::DropQueued() {
    const std::lock_guard lock(m_mutex);
    m_queue.clear();
}

void MessagePane::ClearAll() {
    DropQueued();  // lines posted before the clear and not shown yet go with the rest
    m_edit->clear();
    m_highlighted = 0;
}

namespace {

QString PaneFileFilter() { return QStringLiteral("Txt files (*.txt)"); }

}  // namespace

void MessagePane::SaveToFile() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setNameFilter(PaneFileFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveTo(dialog.selectedFiles().constFirst());
}

void MessagePane::OpenFile() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setNameFilter(PaneFileFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    LoadFrom(dialog.selectedFiles().constFirst());
}

exporting::RtfSpans MessagePane::ContentSpans() const {
    exporting::RtfSpans spans;
    auto add = [&spans](std::string bytes, exporting::Rgb colour) {
        if (bytes.empty()) return;
        if (!spans.empty() && spans.back().colour == colour) {
            spans.back().text += bytes;
        } else {
            spans.push_back({std::move(bytes), colour});
        }
    };
    for (QTextBlock block = m_edit->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const QBrush brush = fragment.charFormat().foreground();
            const exporting::Rgb colour =
                brush.style() == Qt::NoBrush ? exporting::Rgb{} : FromColour(brush.color());
            add(FromQt(fragment.text()), colour);
        }
        if (block.next().isValid()) {
            add("\n", spans.empty() ? exporting::Rgb{} : spans.back().colour);
        }
    }
    return spans;
}

bool MessagePane::SaveTo(const QString& path) {
    Flush();
    const std::string name = path.toStdString();
    const std::string bytes = exporting::SaveKindFor(name) == exporting::PaneFileKind::PlainText
                                  ? exporting::ToCrLf(FromQt(m_edit->toPlainText()))
                                  : exporting::WriteRtf(ContentSpans());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        PostError(text::LocalWith("保存文件 %s 失败", FromQt(path)));
        return false;
    }
    return true;
}

bool MessagePane::LoadFrom(const QString& path) {
    const exporting::PaneFileKind kind = exporting::LoadKindFor(path.toStdString());
    if (kind == exporting::PaneFileKind::Nothing) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        PostError(text::LocalWith("打开文件 %s 失败", FromQt(path)));
        return false;
    }
    const QByteArray content = file.readAll();
    const std::string_view bytes(content.constData(), static_cast<std::size_t>(content.size()));
    if (kind == exporting::PaneFileKind::PlainText) {
        ReplaceContent({{exporting::FromCrLf(bytes), exporting::Rgb{}}});
        return true;
    }
    exporting::RtfReadResult rtf = exporting::ReadRtf(bytes);
    if (!rtf.ok) {
        PostError(text::LocalWith("文件 %s 不是RTF格式，没有读入", FromQt(path)));
        return false;
    }
    ReplaceContent(rtf.spans);
    return true;
}

void MessagePane::ReplaceContent(const exporting::RtfSpans& spans) {
    DropQueued();  // lines posted before the load belong to the content being replaced
    m_edit->clear();
    m_highlighted = 0;
    QTextCursor cursor(m_edit->document());
    cursor.beginEditBlock();
    for (const exporting::RtfSpan& span : spans)
        cursor.insertText(DocumentText(span.text), LineFormat(span.colour));
    cursor.endEditBlock();
    ScrollToEnd();
}

void MessagePane::PostError(const std::string& modelText) { Post(MessageKind::Error, modelText); }

void MessagePane::ShowContextMenu(const QPoint& at) {
    QMenu menu(this);
    menu.setAccessibleName(Tr("提示信息"));
    for (QAction* action : m_contextActions) menu.addAction(action);
    menu.exec(m_edit->mapToGlobal(at));
}

bool MessagePane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Escape:
                emit HideRequested();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                GoToCaretLine();
                return true;
            case Qt::Key_F7:
                NextLine();
                return true;
            case Qt::Key_F8:
                PreviousLine();
                return true;
            default:
                break;
        }
    }
    if (watched == m_edit->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_edit->setTextCursor(m_edit->cursorForPosition(mouse->position().toPoint()));
            GoToCaretLine();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelko::ui
