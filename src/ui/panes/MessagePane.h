#pragma once
// The message pane: the program's running log, a read-only rich-text box that the main window
// puts in its bottom dock bar. Every layer posts lines of a kind through the MessageLog port;
// lines that hold a catalog path lead back to the catalog item (Enter, double-click, F7/F8).
//
// Threads: Post() may be called from any thread. A post only queues the line under a mutex;
// one queued call per event-loop turn moves the queue into the document in a single edit block,
// so a worker writing 100,000 lines keeps its order, loses none and never freezes the window.
// Everything else runs on the UI thread.

#include "catalog/MessageLog.h"
#include "export/RtfText.h"

#include <QString>
#include <QWidget>

#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class QPlainTextEdit;
class QTextBlock;
class QAction;
class QTextCursor;

namespace pelko::catalog {
class CRootCategory;
}

namespace pelko::ui {

class MessagePane : public QWidget, public catalog::MessageLog {
    Q_OBJECT
public:
    explicit MessagePane(QWidget* parent = nullptr);
    ~MessagePane() override;

    // Any thread; `text` is in model bytes. The line reaches the document at the next turn of
    // the UI thread's event loop (at once when called on the UI thread).
    void Post(catalog::MessageKind kind, std::string_view text) override;
    // The catalog whose scan-object names are highlighted and whose paths are links; null for
    // none. The pointer must stay valid until it is replaced.
    void SetCatalog(const catalog::CRootCategory* root);
    // The idle step: colours the scan-object name red in every line added since the last pass.
    void HighlightNewLines();
    // The next idle step examines every line again (the search calls this when it starts and
    // when it ends, as its hits may name objects the last pass did not know).
    void RestartHighlighting() { m_highlighted = 0; }

    // Commands of the pane for the main menu (the pane's own context menu uses them too).
    // Clearing and loading replace everything, lines still on their way from workers included.
    void OpenFile();
    void SaveToFile();
    void SelectAll();
    void CopySelection();
    void DeleteSelection();
    void ClearAll();
    void NextLine();
    void PreviousLine();

    // The file parts of OpenFile/SaveToFile without the dialog. A name holding ".txt" (any
    // case) is plain text (GBK, CR LF); saving any other name writes RTF; loading a name holding
    // ".rtf" reads RTF and any other name loads nothing. False (and an error line) on failure.
    bool SaveTo(const QString& path);
    bool LoadFrom(const QString& path);

    // Moves every queued line into the document now (UI thread).
    void Flush();
    // Lines in the document, the empty line after the last line break not counted.
    int LineCount() const;
    // Lines already examined by the highlighting.
    int HighlightCursor() const { return m_highlighted; }
    QPlainTextEdit* Editor() const { return m_edit; }
    // The entries of the context menu, in order.
    const std::vector<QAction*>& ContextActions() const { return m_contextActions; }

signals:
    void ShowRequested();  // a line was posted while the pane was hidden: show its dock
    void HideRequested();  // Escape in the pane
    // Enter/double-click/F7/F8 on a line naming an item. `catalogPath` is the whole line as
    // shown ("        Pelko\音乐\Disc1\a.mp3"); the tree's go-to-path trims its parts.
    void GoToItem(QString catalogPath);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        catalog::MessageKind kind;
        std::string text;  // the whole line, prefix included, model bytes
    };

    void Drain();
    void DropQueued();
    void AppendLine(QTextCursor& end, catalog::MessageKind kind, const std::string& line);
    void ReplaceContent(const exporting::RtfSpans& spans);
    exporting::RtfSpans ContentSpans() const;
    void ScrollToEnd();
    void GoToCaretLine();
    void WalkLines(bool forward);
    bool NamesItem(const QString& line) const;
    void SelectBlock(const QTextBlock& block);
    void ShowContextMenu(const QPoint& at);
    void PostError(const std::string& modelText);

    QPlainTextEdit* m_edit = nullptr;
    std::vector<QAction*> m_contextActions;
    const catalog::CRootCategory* m_root = nullptr;
    int m_highlighted = 0;  // highlight cursor: lines examined so far
    bool m_draining = false;

    std::mutex m_mutex;  // guards the two members below
    std::deque<Pending> m_queue;
    bool m_drainScheduled = false;  // a queued Drain() is on its way
};

}  // namespace pelko::ui
