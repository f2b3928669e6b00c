#include "export/ExportDialog.h"

#include "export/HelpPages.h"
#include "export/IndexPages.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::exporting {

ExportDialog::ExportDialog(Services services, ExportFormat mode, ExportDialogView& view,
                           ExportSink& workerSink)
    : m_services(std::move(services)), m_mode(mode), m_view(view), m_workerSink(workerSink) {}

ExportDialog::~ExportDialog() = default;  // the worker stops and is waited for in its destructor

void ExportDialog::Open() {
    PrepareExportFolders(m_services.catalogFolder, m_services.root, m_services.style, m_services.ui);
    m_filter.allTypes = true;
    m_filter.listedTypes = false;
    Refresh();
}

std::string ExportDialog::Caption() const {
    return text::Local(m_mode == ExportFormat::Text ? "导出为文本" : "导出到网页文件...");
}

void ExportDialog::SetAllTypes(bool on) {
    m_filter.allTypes = on;
    m_filter.listedTypes = !on;
    Refresh();
}

void ExportDialog::SetListedTypes(bool on) {
    m_filter.listedTypes = on;
    m_filter.allTypes = !on;
    Refresh();
}

void ExportDialog::SetFoldersOnly(bool on) {
    m_filter.foldersOnly = on;
    Refresh();
}

ExportControls ExportDialog::Controls() const {
    ExportControls c;
    c.exportEnabled = !m_exporting;
    c.exitEnabled = !m_exporting;
    c.stopEnabled = m_exporting;
    c.progressVisible = m_exporting;
    c.allTypesChecked = m_filter.allTypes;
    c.listedTypesChecked = m_filter.listedTypes;
    c.allTypesEnabled = !m_exporting && !m_filter.foldersOnly;
    c.listedTypesEnabled = c.allTypesEnabled;
    c.typeListEnabled = !m_exporting && !m_filter.foldersOnly && !m_filter.allTypes && m_filter.listedTypes;
    return c;
}

void ExportDialog::Refresh() { m_view.ShowControls(Controls()); }

bool ExportDialog::Start(ExportTarget target) {
    if (m_exporting) return false;
    m_worker.reset();  // the previous export's thread has ended; collect it
    ExportOptions options;
    options.format = m_mode;
    options.style = m_services.style;
    options.filter = m_filter;
    options.filter.typeList = text::AsciiLower(m_filter.typeList);
    options.showProgress = m_showProgress;
    auto worker = std::make_unique<CTransHtmlThread>(m_services.catalogFolder, m_services.log,
                                                     std::move(options), target, m_workerSink);
    // Shown as running before the thread starts, so a quick finished call finds it running.
    m_exporting = true;
    Refresh();
    m_worker = std::move(worker);
    if (!m_worker->Start()) {
        m_worker.reset();
        m_exporting = false;
        Refresh();
        return false;
    }
    return true;
}

void ExportDialog::Stop() {
    if (m_worker) m_worker->Stop();
}

void ExportDialog::OnExportFinished() {
    if (!m_exporting) return;
    m_exporting = false;
    m_view.SetProgress(0);
    Refresh();
    m_worker.reset();
}

void ExportDialog::EditAndPrint() {
    if (m_mode == ExportFormat::Text) {
        m_view.OpenEditAndPrint();
    } else {
        BrowseExport(m_services.catalogFolder, m_services.root, m_services.ui, m_services.opener);
    }
}

}  // namespace pelko::exporting
