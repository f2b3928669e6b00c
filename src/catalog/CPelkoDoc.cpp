#include "catalog/CPelkoDoc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "catalog/CArchive.h"
#include "catalog/DefaultCatalog.h"
#include "catalog/DefaultPictures.h"
#include "catalog/MessageLog.h"
#include "catalog/StaleTemporaries.h"
#include "catalog/UserInterface.h"
#include "platform/AtomicFile.h"
#include "platform/WholeFile.h"
#include "platform/WriteAll.h"
#include "text/Codec.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLoadFailed = "初始化失败，可能是文件tnk.dat发生错误，请把它删除！";
constexpr std::string_view kConvertFailed =
    "无法把旧的光盘库文件pelko.pkb转换为tnk.dat（磁盘可能已满或目录不可写），两个文件都保持原样。"
    "请腾出空间后再启动。";
constexpr std::string_view kCreateFailed = "无法创建光盘库文件tnk.dat（磁盘可能已满或目录不可写）。";

}  // namespace

CPelkoDoc::CPelkoDoc(fs::path catalogFolder, MessageLog& log, UserInterface& ui)
    : m_folder(std::move(catalogFolder)), m_log(log), m_ui(ui) {}

void CPelkoDoc::ShowMessage(std::string_view utf8Text) { m_ui.ShowMessage(text::Local(utf8Text)); }

namespace {

CatalogRead ReadCatalogParts(std::span<const std::uint8_t> bytes, bool expectHeader, CRootCategory& root,
                             CFindHistory* history) {
    root.m_bExpectHeader = expectHeader;
    try {
        CArchive ar(bytes);
        root.Serialize(ar);
        if (root.m_bBadHeader) return CatalogRead::BadHeader;
        if (history) history->Serialize(ar);
    } catch (const ArchiveError&) {
        return CatalogRead::Damaged;
    } catch (const std::bad_alloc&) {
        return CatalogRead::Damaged;
    }
    return CatalogRead::Ok;
}

}  // namespace

CatalogRead ReadCatalogBytes(std::span<const std::uint8_t> bytes, bool expectHeader, CRootCategory& root,
                             CFindHistory& history) {
    return ReadCatalogParts(bytes, expectHeader, root, &history);
}

CatalogRead ReadCatalogTree(std::span<const std::uint8_t> bytes, bool expectHeader, CRootCategory& root) {
    return ReadCatalogParts(bytes, expectHeader, root, nullptr);
}

std::vector<std::uint8_t> CatalogBytes(CRootCategory& root, CFindHistory& history) {
    std::vector<std::uint8_t> bytes;
    CArchive ar(bytes, CArchive::Mode::Store);
    root.Serialize(ar);
    history.Serialize(ar);
    return bytes;
}

CatalogRead CPelkoDoc::ReadCatalog(std::span<const std::uint8_t> bytes, bool expectHeader) {
    auto root = std::make_unique<CRootCategory>();
    CFindHistory history;
    const CatalogRead result = ReadCatalogBytes(bytes, expectHeader, *root, history);
    if (result == CatalogRead::Ok) {
        m_root = std::move(root);
        m_history = std::move(history);
    }
    return result;
}

// Replaces the catalog file atomically, keeping the previous good file as the backup.
bool CPelkoDoc::WriteCatalogFile(std::span<const std::uint8_t> bytes) {
    const fs::path target = m_folder / kCatalogFile;
    platform::AtomicFile file(target);
    if (!file.Create()) return false;
    if (!platform::WriteAll(file.Descriptor(), bytes)) return false;
    if (m_fileIsGood) {
        // A hard link renamed over the backup: at every moment both names hold a whole file.
        const fs::path backup = m_folder / kBackupFile;
        fs::path link = backup;
        link += ".new";
        ::unlink(link.c_str());
        if (::link(target.c_str(), link.c_str()) == 0 && ::rename(link.c_str(), backup.c_str()) != 0)
            ::unlink(link.c_str());
    }
    if (!file.Commit()) return false;
    m_fileIsGood = true;
    return true;
}

bool CPelkoDoc::LoadCatalog() {
    if (m_root) return true;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    WriteDefaultPictures(DiskFolder());

    const fs::path catalogPath = m_folder / kCatalogFile;
    std::vector<std::uint8_t> bytes;
    switch (platform::ReadWholeFile(catalogPath, bytes)) {
        case platform::WholeFileRead::Ok: {
            CatalogRead result = ReadCatalog(bytes, true);
            if (result == CatalogRead::BadHeader) {
                // An old catalog without the header; the next save writes one.
                result = ReadCatalog(bytes, false);
            }
            if (result != CatalogRead::Ok) {
                ShowMessage(kLoadFailed);
                return false;
            }
            m_fileIsGood = true;
            break;
        }
        case platform::WholeFileRead::Unreadable:
            // Never start over from the default catalog while a catalog exists that we cannot
            // read: the next save would replace it.
            ShowMessage(kLoadFailed);
            return false;
        case platform::WholeFileRead::Missing: {
            const fs::path oldPath = m_folder / kOldCatalogFile;
            const platform::WholeFileRead old = platform::ReadWholeFile(oldPath, bytes);
            if (old == platform::WholeFileRead::Ok) {
                if (ReadCatalog(bytes, false) != CatalogRead::Ok) {
                    ShowMessage(kLoadFailed);
                    return false;
                }
                if (!WriteCatalogFile(CatalogBytes(*m_root, m_history))) {
                    // Both files stay as they are; the conversion is tried again next time.
                    m_root.reset();
                    ShowMessage(kConvertFailed);
                    return false;
                }
                fs::remove(oldPath, ec);
                break;
            } else if (old == platform::WholeFileRead::Unreadable) {
                ShowMessage(kLoadFailed);
                return false;
            }
            // First start: the default catalog, written as it is and read back.
            const std::vector<std::uint8_t> defaults = DefaultCatalogBytes();
            if (!WriteCatalogFile(defaults)) {
                ShowMessage(kCreateFailed);
                return false;
            }
            if (platform::ReadWholeFile(catalogPath, bytes) != platform::WholeFileRead::Ok ||
                ReadCatalog(bytes, false) != CatalogRead::Ok) {
                ShowMessage(kLoadFailed);
                return false;
            }
            break;
        }
    }
    m_root->m_strName = "Pelko";
    m_root->m_bModified = false;
    // Only once the catalog is read: a folder whose catalog cannot be loaded is left as it is.
    RemoveStaleTemporaries(m_folder, m_log);
    return true;
}

bool CPelkoDoc::SaveCatalog() {
    if (!m_root) return false;
    try {
        if (!WriteCatalogFile(CatalogBytes(*m_root, m_history))) return false;
    } catch (const ArchiveError&) {
        return false;
    }
    m_root->m_bModified = false;
    m_pendingDeletions.Run(*m_root, m_log);
    return true;
}

bool CPelkoDoc::SetPassword(std::string_view password) {
    if (!m_root) return false;
    if (password.size() > CRootCategory::kMaxPasswordBytes) {
        ShowMessage("密码太长，最多只能有255个字节，请重新输入");
        return false;
    }
    m_root->m_strPassword = password;
    m_root->m_bModified = true;
    return SaveCatalog();
}

void CPelkoDoc::SortTree() {
    if (m_root && m_root->Sort()) {
        m_root->m_bModified = true;
        SaveCatalog();
    }
}

}  // namespace pelko::catalog
