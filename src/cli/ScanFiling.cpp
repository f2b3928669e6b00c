#include "cli/ScanFiling.h"

#include <array>
#include <ostream>
#include <string_view>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "cli/CatalogSession.h"
#include "cli/TerminalLog.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace {

// The completion messages by the kind of the scan: disc, partition, folder.
constexpr std::array<std::string_view, 3> kRescanned = {
    "重新扫描光盘 [ %s ] 成功！", "重新扫描硬盘 [ %s ] 成功！", "重新扫描文件夹 [ %s ] 成功！"};
constexpr std::array<std::string_view, 3> kAdded = {
    "成功地把光盘 %s 加入到光盘库！", "成功地把硬盘 %s 加入到光盘库！", "成功地把文件夹 %s 加入到光盘库！"};

std::size_t KindIndex(std::uint8_t kind) { return kind < kAdded.size() ? kind : kAdded.size() - 1; }

// A finished scan is worth a retry when its disc file cannot be written (a full disk, a folder
// made read-only): the tree is kept while the user makes room. After a few refusals in a row it
// is given up, so that an answer given in advance (--yes) cannot retry for ever.
constexpr int kMostWriteAttempts = 4;
constexpr std::string_view kRetryWrite =
    "光盘文件没能写入磁盘（磁盘可能已满或不可写）。\n请腾出空间后重试；放弃则这次扫描的结果将丢失。\n重试吗？";

bool ReleaseScan(CatalogSession& session, std::unique_ptr<catalog::CCD>& cd) {
    for (int attempt = 1;; ++attempt) {
        if (session.Discs().Release(cd)) return true;
        if (attempt == kMostWriteAttempts || !session.Ui().AskYesNo(text::Local(kRetryWrite))) return false;
    }
}

}  // namespace

std::optional<ScanOptions> ParseScanOptions(std::span<const std::string> args) {
    ScanOptions options;
    bool haveSource = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--category" || arg == "--name" || arg == "--memo") {
            if (i + 1 == args.size()) return std::nullopt;
            const std::string& value = args[++i];
            if (arg == "--category") options.category = value;
            if (arg == "--name") options.name = value;
            if (arg == "--memo") options.memo = value;
        } else if (!haveSource) {
            options.source = arg;
            haveSource = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveSource) return std::nullopt;
    return options;
}

bool ReportHowTheWalkEnded(scan::WalkResult walked, std::string_view mediumGone, std::ostream& err) {
    switch (walked) {
        case scan::WalkResult::Finished:
        case scan::WalkResult::RootUnreadable:
            return false;
        case scan::WalkResult::LimitReached:
            err << "pelko-cli: the whole-scan file limit (g_nFileLimitTotal) was reached; later files were "
                   "not recorded\n";
            return false;
        case scan::WalkResult::OutOfMemory:
            err << "pelko-cli: memory ran out; some folders were not read in full; keeping what was read\n";
            return true;
        case scan::WalkResult::Cancelled:
            err << "pelko-cli: scan interrupted; keeping what was read\n";
            return true;
        case scan::WalkResult::MediumGone:
            err << "pelko-cli: " << mediumGone << "; keeping what was read\n";
            return true;
    }
    return false;
}

std::unique_ptr<catalog::CCD> OpenForRescan(CatalogSession& session, const catalog::CDiskInfo& entry,
                                            std::ostream& err) {
    std::unique_ptr<catalog::CCD> cd = session.Discs().Open(entry);
    if (!cd) {
        err << "pelko-cli: the disc file of " << TerminalText(entry.m_strName)
            << " cannot be read; not scanning it again\n";
    }
    return cd;
}

std::optional<std::filesystem::path> FileScan(CatalogSession& session, std::unique_ptr<catalog::CCD> cd,
                                              const ScanDestination& destination) {
    cd->RecomputeTotals();
    cd->m_dScanBytes = cd->m_dCurrentBytes;
    cd->m_bModified = true;

    const std::uint8_t kind = cd->m_nKind;
    const std::string label = cd->m_strVolumeLabel;
    const std::uint32_t serial = cd->m_dwVolumeSerial;
    const std::string folderPath = cd->m_strFolderPath;
    const std::filesystem::path zip = session.Discs().ZipPath(label, serial);
    catalog::CDiskInfo filed;
    filed.CopyStatistics(*cd);
    if (!ReleaseScan(session, cd)) return std::nullopt;

    if (catalog::CDiskInfo* entry = destination.existing) {
        entry->m_dScanBytes = filed.m_dCurrentBytes;
        entry->m_dCurrentBytes = filed.m_dCurrentBytes;
        entry->m_nFileCount = filed.m_nFileCount;
        entry->m_nFolderCount = filed.m_nFolderCount;
        session.Doc().SetModified();
        session.Ui().ShowMessage(text::LocalWith(kRescanned[KindIndex(kind)], entry->m_strName));
        return zip;
    }
    catalog::CDiskInfo* entry = destination.category->AddNewEntry(destination.name, session.Log());
    if (!entry) return std::nullopt;
    entry->m_nKind = kind;
    entry->m_strVolumeLabel = label;
    entry->m_dwVolumeSerial = serial;
    entry->m_strFolderPath = folderPath;
    entry->m_strMemo = destination.memo;
    entry->m_dScanBytes = filed.m_dScanBytes;
    entry->m_dCurrentBytes = filed.m_dCurrentBytes;
    entry->m_nFileCount = filed.m_nFileCount;
    entry->m_nFolderCount = filed.m_nFolderCount;
    session.Ui().ShowMessage(text::LocalWith(kAdded[KindIndex(kind)], destination.name));
    return zip;
}

}  // namespace pelko::cli
