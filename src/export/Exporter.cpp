#include "export/Exporter.h"

#include <system_error>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/MessageLog.h"
#include "export/ExportPaths.h"
#include "export/PageBuilder.h"
#include "platform/AtomicFile.h"
#include "text/Codec.h"

namespace pelko::exporting {

namespace fs = std::filesystem;

Exporter::Exporter(fs::path catalogFolder, DiscLoader load, catalog::MessageLog& log,
                   const ExportOptions& options, const std::atomic<bool>& running, ExportSink& sink)
    : m_catalogFolder(std::move(catalogFolder)),
      m_load(std::move(load)),
      m_log(log),
      m_options(options),
      m_running(running),
      m_sink(sink) {}

ExportEnd Exporter::Export(ExportTarget target) {
    if (const auto* category = std::get_if<const catalog::CCategory*>(&target))
        return ExportCategory(**category);
    return ExportEntry(*std::get<const catalog::CDiskInfo*>(target));
}

ExportEnd Exporter::ExportCategory(const catalog::CCategory& category) {
    const auto& entries = category.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!m_running.load()) return ExportEnd::Stopped;
        const std::unique_ptr<catalog::CCD> contents = m_load(*entries[i]);
        if (!contents) continue;
        const ExportEnd end = ExportLoaded(*entries[i], *contents);
        if (end != ExportEnd::Finished) return end;
        if (m_options.showProgress) m_sink.SetProgress(static_cast<int>(i * 100 / entries.size()));
    }
    for (const auto& sub : category.Subcategories()) {
        const ExportEnd end = ExportCategory(*sub);
        if (end != ExportEnd::Finished) return end;
    }
    return ExportEnd::Finished;
}

ExportEnd Exporter::ExportEntry(const catalog::CDiskInfo& entry) {
    if (!m_running.load()) return ExportEnd::Stopped;
    const std::unique_ptr<catalog::CCD> contents = m_load(entry);
    if (!contents) return ExportEnd::Finished;
    return ExportLoaded(entry, *contents);
}

ExportEnd Exporter::ExportLoaded(const catalog::CDiskInfo& entry, const catalog::CCD& contents) {
    const fs::path file = EntryPagePath(m_catalogFolder, entry, m_options.format);
    if (m_options.showProgress) m_sink.ShowPath(file);
    const std::optional<std::string> bytes = BuildEntryFile(entry, contents, m_options, m_running, &m_sink);
    if (!bytes) return ExportEnd::Stopped;
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (!platform::ReplaceFileContent(file, *bytes)) {
        m_log.Post(catalog::MessageKind::Error,
                   text::LocalWith("无法写入导出文件 %s，导出已停止", text::FromUtf8(file.native())));
        return ExportEnd::CannotWrite;
    }
    m_sink.FileWritten(file);
    return ExportEnd::Finished;
}

}  // namespace pelko::exporting
