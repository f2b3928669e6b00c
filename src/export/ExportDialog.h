#pragma once
// The logic of the export window: what opening it prepares, the rules that enable its controls,
// starting and stopping the export worker, and what happens when the worker has finished. The
// window shows what ExportControls says and forwards its buttons and check boxes here; it hands
// the worker a sink that passes every call on to the window's own thread, where the finished
// call comes back as OnExportFinished.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "export/CTransHtmlThread.h"
#include "export/ExportOptions.h"

namespace pelko::catalog {
class CCategory;
class MessageLog;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::exporting {

class DocumentOpener;
class ExportSink;

// The state of the window's controls.
struct ExportControls {
    bool exportEnabled = true;    // "导出"
    bool stopEnabled = false;     // "停止"
    bool exitEnabled = true;      // "退出" (and closing the window)
    bool allTypesChecked = true;  // "导出所有类型的文件"
    bool allTypesEnabled = true;
    bool listedTypesChecked = false;  // "只导出以下类型的文件"
    bool listedTypesEnabled = true;
    bool typeListEnabled = false;  // the type list edit box
    bool progressVisible = false;  // the path text and the progress bar

    bool operator==(const ExportControls&) const = default;
};

// What the window does for the logic; called on the window's thread.
class ExportDialogView {
public:
    virtual ~ExportDialogView() = default;
    virtual void ShowControls(const ExportControls& controls) = 0;
    virtual void SetProgress(int percent) = 0;
    // "编辑和打印" in text mode: the window for editing and printing the exported text files.
    virtual void OpenEditAndPrint() = 0;
};

class ExportDialog {
public:
    struct Services {
        std::filesystem::path catalogFolder;
        const catalog::CCategory& root;
        ExportStyle style;
        catalog::MessageLog& log;
        catalog::UserInterface& ui;
        DocumentOpener& opener;
    };

    ExportDialog(Services services, ExportFormat mode, ExportDialogView& view, ExportSink& workerSink);
    ~ExportDialog();  // stops a running export and waits for it
    ExportDialog(const ExportDialog&) = delete;
    ExportDialog& operator=(const ExportDialog&) = delete;

    // Creates every category folder, rewrites both index pages, and resets the type boxes (all
    // types on, listed types off).
    void Open();
    // "导出为文本" or "导出到网页文件..." (model bytes).
    std::string Caption() const;
    ExportFormat Mode() const { return m_mode; }

    // The two type boxes are a pair: checking one sets the other to the opposite.
    void SetAllTypes(bool on);
    void SetListedTypes(bool on);
    void SetFoldersOnly(bool on);
    void SetShowProgress(bool on) { m_showProgress = on; }
    void SetTypeList(std::string_view modelText) { m_filter.typeList = modelText; }
    const ExportFilter& Filter() const { return m_filter; }
    bool ShowProgress() const { return m_showProgress; }

    // "导出": starts the worker on the chosen category or scan object. False (and still idle)
    // when an export runs already or the worker cannot be started.
    bool Start(ExportTarget target);
    // "停止".
    void Stop();
    // The worker's finished call, on the window's thread.
    void OnExportFinished();
    bool IsExporting() const { return m_exporting; }
    // The window may not close while the worker still reports to it.
    bool CanClose() const { return !m_exporting; }
    // "编辑和打印": the edit-and-print window in text mode, the exported index page in HTML mode.
    void EditAndPrint();

    ExportControls Controls() const;

private:
    void Refresh();

    Services m_services;
    ExportFormat m_mode;
    ExportDialogView& m_view;
    ExportSink& m_workerSink;
    ExportFilter m_filter;
    bool m_showProgress = true;
    bool m_exporting = false;
    std::unique_ptr<CTransHtmlThread> m_worker;
};

}  // namespace pelko::exporting
