#include "export/ListingWriter.h"

#include "catalog/CDir.h"
#include "export/ExportSink.h"
#include "export/HtmlText.h"
#include "text/MbString.h"

namespace pelko::exporting {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kItemStart = "<br>";
constexpr std::string_view kHtmlSpace = "&nbsp;";
// Stands for "│" under the last sub-folder, where no line continues: same width.
constexpr std::string_view kTextGap = "  ";
constexpr std::string_view kHtmlGap = "&nbsp;&nbsp;";
constexpr std::string_view kTextFlatIndent = "            ";
constexpr std::string_view kHtmlFlatIndent = "&nbsp;&nbsp;&nbsp;";
constexpr std::string_view kTextFlatHeader = "   ..";

}  // namespace

ListingWriter::ListingWriter(const ExportOptions& options, const std::atomic<bool>& running,
                             ExportSink* progress)
    : m_options(options),
      m_html(options.format == ExportFormat::Html),
      m_foldedTypes(text::AsciiLower(options.filter.typeList)),
      m_running(running),
      m_progress(options.showProgress ? progress : nullptr) {}

bool ListingWriter::Append(const catalog::CDir& root, std::string& out) {
    if (m_options.style.tree) {
        std::string prefix;
        return TreeFolder(root, prefix, out);
    }
    std::string path;
    return FlatFolder(root, path, out);
}

bool ListingWriter::Admits(std::string_view fileName) const {
    return !m_options.filter.FiltersTypes() || TypeListAdmits(m_foldedTypes, fileName);
}

void ListingWriter::AppendText(std::string& out, std::string_view text) const {
    if (m_html) {
        AppendEscaped(out, text);
    } else {
        out.append(text);
    }
}

void ListingWriter::AppendMemo(std::string& out, std::string_view memo) const {
    if (!m_options.style.memo || memo.empty()) return;
    if (m_html) {
        out.append(kHtmlSpace).append(kHtmlSpace).append(m_options.style.htmPre);
        AppendEscaped(out, memo);
        out.append(m_options.style.htmPost);
    } else {
        out.append("  ").append(m_options.style.txtPre).append(memo).append(m_options.style.txtPost);
    }
}

void ListingWriter::StartItem(std::string& out) const {
    if (m_html) out.append(kItemStart);
}

void ListingWriter::EndItem(std::string& out) const {
    if (!m_html) out.append(kCrLf);
}

bool ListingWriter::Files(const catalog::CDir& folder, std::string_view prefix, std::string& out) {
    if (m_options.filter.foldersOnly) return true;
    const auto& files = folder.Files();
    const std::size_t count = files.size();
    const bool tree = m_options.style.tree;
    const bool hasSubdirs = !folder.Subdirs().empty();
    for (std::size_t i = 0; i < count; ++i) {
        const catalog::CFileInfo& file = *files[i];
        const std::string_view name = file.m_strName.view();
        if (!Admits(name)) continue;
        StartItem(out);
        out.append(prefix);
        if (tree) out.append(i + 1 < count || hasSubdirs ? kBranch : kLastBranch);
        AppendText(out, name);
        AppendMemo(out, file.m_strMemo.view());
        EndItem(out);
        if (m_progress != nullptr && i % 5 == 0) m_progress->SetProgress(static_cast<int>(i * 100 / count));
        if (i % 10 == 0 && !m_running.load(std::memory_order_relaxed)) return false;
    }
    return true;
}

bool ListingWriter::TreeFolder(const catalog::CDir& folder, std::string& prefix, std::string& out) {
    if (!m_running.load(std::memory_order_relaxed)) return false;
    if (!Files(folder, prefix, out)) return false;
    const auto& subdirs = folder.Subdirs();
    const std::size_t prefixSize = prefix.size();
    for (std::size_t i = 0; i < subdirs.size(); ++i) {
        const catalog::CDir& sub = *subdirs[i];
        const bool last = i + 1 == subdirs.size();
        StartItem(out);
        out.append(prefix).append(last ? kLastBranch : kBranch).append(m_options.style.dirSign);
        AppendText(out, sub.m_strName.view());
        AppendMemo(out, sub.m_strMemo.view());
        EndItem(out);
        prefix.append(last ? (m_html ? kHtmlGap : kTextGap) : kVertical);
        const bool done = TreeFolder(sub, prefix, out);
        prefix.resize(prefixSize);
        if (!done) return false;
    }
    return true;
}

bool ListingWriter::FlatFolder(const catalog::CDir& folder, std::string& path, std::string& out) {
    if (!m_running.load(std::memory_order_relaxed)) return false;
    if (m_html) {
        out.append(kItemStart);
    } else {
        out.append(kTextFlatHeader);
    }
    AppendText(out, path);
    AppendMemo(out, folder.m_strMemo.view());
    EndItem(out);
    if (!Files(folder, m_html ? kHtmlFlatIndent : kTextFlatIndent, out)) return false;
    const std::size_t pathSize = path.size();
    for (const auto& sub : folder.Subdirs()) {
        path.append("\\").append(sub->m_strName.view());
        const bool done = FlatFolder(*sub, path, out);
        path.resize(pathSize);
        if (!done) return false;
    }
    return true;
}

}  // namespace pelko::exporting
