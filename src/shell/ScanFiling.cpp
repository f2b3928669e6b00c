#include "shell/ScanFiling.h"

#include <array>
#include <cstdint>
#include <system_error>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace {

// The completion messages by the kind of the scan: disc, partition, folder.
constexpr std::array<std::string_view, 3> kRescanned = {
    "重新扫描光盘 [ %s ] 成功！", "重新扫描硬盘 [ %s ] 成功！", "重新扫描文件夹 [ %s ] 成功！"};
constexpr std::array<std::string_view, 3> kAdded = {
    "成功地把光盘 %s 加入到光盘库！", "成功地把硬盘 %s 加入到光盘库！", "成功地把文件夹 %s 加入到光盘库！"};
constexpr std::array<std::string_view, 3> kFailed = {
    "光盘加入光盘库的动作失败", "硬盘分区加入光盘库的动作失败", "文件夹内容加入光盘库的动作失败"};

std::size_t KindIndex(std::uint8_t kind) { return kind < kAdded.size() ? kind : kAdded.size() - 1; }

// A finished scan is worth a retry when its disc file cannot be written (a full disk, a folder
// made read-only): the tree is kept while the user makes room. After a few refusals in a row it
// is given up, so that an answer given in advance (--yes) cannot retry for ever.
constexpr int kMostWriteAttempts = 4;
constexpr std::string_view kRetryWrite =
    "光盘文件没能写入磁盘（磁盘可能已满或不可写）。\n请腾出空间后重试；放弃则这次扫描的结果将丢失。\n重试吗"
    "？";

bool ReleaseScan(const FilingServices& services, std::unique_ptr<catalog::CCD>& cd) {
    for (int attempt = 1;; ++attempt) {
        if (services.discs.Release(cd)) return true;
        if (attempt == kMostWriteAttempts || !services.ui.AskYesNo(text::Local(kRetryWrite))) return false;
    }
}

void CopyTotals(const catalog::CDiskInfo& from, catalog::CDiskInfo& to) {
    to.m_dScanBytes = from.m_dCurrentBytes;
    to.m_dCurrentBytes = from.m_dCurrentBytes;
    to.m_nFileCount = from.m_nFileCount;
    to.m_nFolderCount = from.m_nFolderCount;
}

}  // namespace

void DiscardUnfiledScan(const FilingServices& services, std::string_view label, std::uint32_t serial) {
    if (services.doc.Root()->FindEntryByLabel(label, serial)) return;
    std::error_code ignored;
    std::filesystem::remove(services.discs.PlainPath(label, serial), ignored);
    std::filesystem::remove(services.discs.ZipPath(label, serial), ignored);
    // Removes the thumbnail folder only when it is empty (remove() refuses a folder with files).
    std::filesystem::remove(services.discs.PictureFolder(label, serial), ignored);
}

std::string ScanFailedText(std::uint8_t kind) { return text::Local(kFailed[KindIndex(kind)]); }

std::optional<FiledScan> FileScan(const FilingServices& services, std::unique_ptr<catalog::CCD> cd,
                                  const FilingTarget& target) {
    // A name taken in the category (by an entry added while the walk ran) is refused before the
    // disc file is written, so no file is left behind that no entry refers to.
    if (!target.existing && target.category->HasEntry(target.name)) {
        services.log.Post(catalog::MessageKind::Hint, text::LocalWith("光盘 %s 已经存在", target.name));
        return std::nullopt;
    }
    cd->RecomputeTotals();
    cd->m_dScanBytes = cd->m_dCurrentBytes;
    cd->m_bModified = true;

    const std::uint8_t kind = cd->m_nKind;
    const std::string label = cd->m_strVolumeLabel;
    const std::uint32_t serial = cd->m_dwVolumeSerial;
    const std::string folderPath = cd->m_strFolderPath;
    const std::filesystem::path zip = services.discs.ZipPath(label, serial);
    catalog::CDiskInfo filed;
    filed.CopyStatistics(*cd);
    if (!ReleaseScan(services, cd)) return std::nullopt;

    if (catalog::CDiskInfo* entry = target.existing) {
        CopyTotals(filed, *entry);
        services.doc.SetModified();
        services.ui.ShowMessage(text::LocalWith(kRescanned[KindIndex(kind)], entry->m_strName));
        return FiledScan{entry, zip};
    }
    catalog::CDiskInfo* entry = target.category->AddNewEntry(target.name, services.log);
    if (!entry) return std::nullopt;
    entry->m_nKind = kind;
    entry->m_strVolumeLabel = label;
    entry->m_dwVolumeSerial = serial;
    entry->m_strFolderPath = folderPath;
    entry->m_strMemo = target.memo;
    CopyTotals(filed, *entry);
    const std::string added = text::LocalWith(kAdded[KindIndex(kind)], target.name);
    if (target.announceNewEntry) services.ui.ShowMessage(added);
    else services.log.Post(catalog::MessageKind::Hint, added);
    return FiledScan{entry, zip};
}

}  // namespace pelko::shell
