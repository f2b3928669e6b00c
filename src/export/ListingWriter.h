#pragma once
// The listing of a scan object's folder tree, as text lines or as page items.
//
// Tree layout: each file and sub-folder on its own line behind the line-drawing prefix of its
// folder ("├", "└", "│" in GBK), folders marked with the folder sign. Flat layout: one block
// per folder, a header with the folder's path and its files indented below. Memos are appended
// when asked, between the memo wrappers. In a page every item starts with "<br>" and names,
// memos and paths are escaped.
//
// The writer polls the running flag at the start of every folder and at every 10th written file
// of a folder, and reports progress through the folder's files every 5th written file.

#include <atomic>
#include <string>
#include <string_view>

#include "export/ExportOptions.h"

namespace pelko::catalog {
class CDir;
}

namespace pelko::exporting {

class ExportSink;

// GBK line-drawing characters.
inline constexpr std::string_view kBranch = "\xA9\xC0";      // ├
inline constexpr std::string_view kLastBranch = "\xA9\xB8";  // └
inline constexpr std::string_view kVertical = "\xA9\xA6";    // │

class ListingWriter {
public:
    // `progress` may be null; it is only used when options.showProgress is set.
    ListingWriter(const ExportOptions& options, const std::atomic<bool>& running, ExportSink* progress);

    // Appends the listing of `root` to `out`. False when the running flag was found cleared
    // (`out` then holds a partial listing that must not be written).
    bool Append(const catalog::CDir& root, std::string& out);

private:
    bool TreeFolder(const catalog::CDir& folder, std::string& prefix, std::string& out);
    bool FlatFolder(const catalog::CDir& folder, std::string& path, std::string& out);
    // The folder's files in either layout; `prefix` goes before each line.
    bool Files(const catalog::CDir& folder, std::string_view prefix, std::string& out);
    bool Admits(std::string_view fileName) const;
    void AppendText(std::string& out, std::string_view text) const;
    void AppendMemo(std::string& out, std::string_view memo) const;
    void EndItem(std::string& out) const;
    void StartItem(std::string& out) const;

    const ExportOptions& m_options;
    bool m_html;
    std::string m_foldedTypes;
    const std::atomic<bool>& m_running;
    ExportSink* m_progress;
};

}  // namespace pelko::exporting
