#include "catalog/DiscFileImport.h"

#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "catalog/ZipStore.h"
#include "platform/FileCopy.h"
#include "platform/WholeFile.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

bool IsInFolder(const fs::path& file, const fs::path& folder) {
    std::error_code ec;
    return fs::equivalent(file.parent_path().empty() ? fs::path(".") : file.parent_path(), folder, ec);
}

// The bytes of a disc file: the plain file, or the one entry of its ZIP at rest.
bool ReadDiscFileBytes(const fs::path& file, std::vector<std::uint8_t>& bytes) {
    if (text::AsciiLower(file.filename().native()).ends_with(".zip")) {
        fs::path plain = file.filename();
        plain.replace_extension();
        ZipEntryRead read = ReadZipEntry(file, text::FromUtf8(plain.native()));
        if (read.status != ZipEntryRead::Status::Ok) return false;
        bytes = std::move(read.bytes);
        return true;
    }
    return platform::ReadWholeFile(file, bytes) == platform::WholeFileRead::Ok;
}

}  // namespace

DiscHeaderRead ReadDiscFileHeader(const fs::path& file, CCD& header) {
    std::vector<std::uint8_t> bytes;
    if (!ReadDiscFileBytes(file, bytes)) return DiscHeaderRead::Unreadable;
    try {
        CArchive probe{std::span<const std::uint8_t>(bytes)};
        if (probe.ReadString() != CCD::kSignature) return DiscHeaderRead::NotDiscFile;
        CArchive ar{std::span<const std::uint8_t>(bytes)};
        header.SerializeHeader(ar);
        return DiscHeaderRead::Ok;
    } catch (const ArchiveError&) {
    } catch (const std::bad_alloc&) {
    }
    return DiscHeaderRead::Unreadable;
}

int DiscFileImport::Run() {
    const FileChoice choice = m_ui.ChooseDiscFiles(m_discs.DiskFolder());
    if (choice.tooMany) {
        m_ui.ShowMessage(text::Local("选择的文件太多，无法一次性加入"));
        return 0;
    }
    return AddFiles(choice.files);
}

int DiscFileImport::AddFiles(std::span<const fs::path> files) {
    int added = 0;
    for (const fs::path& file : files) {
        const Outcome outcome = AddFile(file);
        if (outcome == Outcome::Stop) break;
        if (outcome == Outcome::Added) ++added;
    }
    return added;
}

DiscFileImport::Outcome DiscFileImport::AddFile(const fs::path& file) {
    const fs::path disk = m_discs.DiskFolder();
    std::error_code ec;
    fs::create_directories(disk, ec);

    const std::string shownPath = ModelPath(file);
    if (text::AsciiLower(file.native()).find(".pkb") == std::string::npos) {
        m_log.Post(MessageKind::Error, text::Local("不是光盘文件，光盘文件的扩展名为pkb"));
        return Outcome::Skipped;
    }
    if (!IsInFolder(file, disk)) platform::CopyFileNoReplace(file, disk / file.filename());

    CCD header;
    switch (ReadDiscFileHeader(file, header)) {
        case DiscHeaderRead::Ok:
            break;
        case DiscHeaderRead::NotDiscFile:
            m_log.Post(MessageKind::Error, text::LocalWith("文件 %s 并非真正的光盘文件", shownPath));
            return Outcome::Skipped;
        case DiscHeaderRead::Unreadable:
            m_log.Post(MessageKind::Error,
                       text::LocalWith("打开光盘文件 %s 失败，或这个文件并非真正的光盘文件", shownPath));
            return Outcome::Skipped;
    }

    if (const CDiskInfo* existing =
            m_root.FindEntryByLabel(header.m_strVolumeLabel, header.m_dwVolumeSerial)) {
        m_log.Post(MessageKind::Error, text::LocalWith("该光盘已经存在，路径为 %s", EntryPath(*existing)));
        return Outcome::Skipped;
    }

    const std::string preset =
        header.m_strVolumeLabel.empty() ? std::to_string(header.m_dwVolumeSerial) : header.m_strVolumeLabel;
    const std::optional<NewObjectAnswer> answer =
        m_ui.AskNewObject(text::LocalWith("加入光盘文件%s", ModelPath(file.filename())), preset, m_root);
    if (!answer) return Outcome::Skipped;
    if (answer->category == nullptr) return Outcome::Stop;

    auto entry = std::make_unique<CDiskInfo>();
    entry->m_strVolumeLabel = header.m_strVolumeLabel;
    entry->m_dwVolumeSerial = header.m_dwVolumeSerial;
    entry->m_strMemo = answer->memo;
    entry->m_strName = answer->name;
    entry->m_nKind = header.m_nKind;
    entry->m_strFolderPath = header.m_strFolderPath;
    entry->CopyStatistics(header);
    CDiskInfo* added = answer->category->AddExistingEntry(std::move(entry), m_log);
    if (added && m_added) m_added(*added);
    return Outcome::Added;
}

}  // namespace pelko::catalog
