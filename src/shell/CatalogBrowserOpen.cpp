// Opening a row of the list: a node of the tree, an archive folder, or a file on its medium.

#include <system_error>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "shell/BusyState.h"
#include "shell/CatalogBrowser.h"
#include "shell/CatalogEditor.h"
#include "shell/MediumLocator.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::shell {

namespace fs = std::filesystem;
using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using catalog::MessageKind;

namespace {

bool IsArchiveName(std::string_view name) {
    const std::string lower = text::AsciiLower(name);
    return lower.find(".zip") != std::string::npos || lower.find(".rar") != std::string::npos;
}

// A catalog name that can stand for one file-system name below the medium's root: never a
// separator, "." or "..", which would lead elsewhere.
bool IsPlainName(std::string_view utf8) {
    return !utf8.empty() && utf8 != "." && utf8 != ".." && utf8.find('/') == std::string_view::npos &&
           utf8.find('\0') == std::string_view::npos;
}

}  // namespace

RowOpening CatalogBrowser::OpenRow(std::span<const CatalogObject> selection) {
    if (m_busy.Refuses(kEditGuard, Log())) return {};
    if (selection.size() != 1) {
        Ui().ShowMessage(text::Local("请选择一个项目后再行'打开...'"));
        return {};
    }
    const OpenScanObject& open = m_editor.Open();
    const auto select = [](CatalogObject node) { return RowOpening{RowOpening::Action::SelectNode, node}; };
    return std::visit(Overloaded{
                          [&](CCategory* c) { return select(c); },
                          [&](CDiskInfo* e) {
                              if (open.IsOpen(e)) return select(static_cast<CDir*>(open.cd.get()));
                              return select(e);
                          },
                          [&](CDir* d) { return select(d); },
                          [&](CFileInfo* f) -> RowOpening {
                              if (IsArchiveName(f->m_strName)) {
                                  // The scan listed the archive as a folder of the same name.
                                  if (f->m_pParent == nullptr) return {};
                                  for (const auto& sub : f->m_pParent->Subdirs())
                                      if (sub->m_strName == f->m_strName) return select(sub.get());
                                  return {};
                              }
                              if (!OpenOnMedium(*f)) return {};
                              return {RowOpening::Action::OpenedOnMedium, f};
                          },
                          [](ReadmeRow) { return RowOpening{}; },
                      },
                      selection.front());
}

bool CatalogBrowser::OpenOnMedium(const CFileInfo& file) {
    const OpenScanObject& open = m_editor.Open();
    if (!open.cd || !open.entry || file.m_pParent == nullptr || file.m_pParent->OwningCD() != open.cd.get())
        return false;
    // Names from the file up to the medium's root; OwningCD bounded the chain.
    std::vector<std::string> names{text::ToUtf8(file.m_strName)};
    for (const CDir* dir = file.m_pParent; dir != open.cd.get(); dir = dir->m_pParent)
        names.push_back(text::ToUtf8(dir->m_strName));
    for (const std::string& name : names)
        if (!IsPlainName(name)) return false;

    std::optional<fs::path> path = MediumRoot(*open.entry);
    if (!path) return false;
    for (auto name = names.rbegin(); name != names.rend(); ++name) *path /= *name;
    m_openOnDesktop(*path);
    return true;
}

std::optional<fs::path> CatalogBrowser::MediumRoot(const CDiskInfo& entry) {
    const bool isFolderScan = entry.m_nKind == catalog::CCD::kKindFixedDir;
    const std::string_view folderHint = "不存在此硬盘目录 %s ";
    if (!entry.m_strFolderPath.empty()) {
        // A root stored on another system ("D:\music") or no longer there is not used: the
        // medium may be mounted elsewhere now.
        const fs::path stored = text::ToUtf8(entry.m_strFolderPath);
        std::error_code error;
        if (stored.is_absolute() && fs::is_directory(stored, error)) return stored;
        if (isFolderScan) {
            Log().Post(MessageKind::Hint, text::LocalWith(folderHint, entry.m_strName));
            return std::nullopt;
        }
    } else if (isFolderScan) {
        return std::nullopt;  // a folder scan is found only by its folder
    }
    const std::vector<MountedMedium> media = m_media.MountedMedia();
    if (std::optional<fs::path> root = FindMediumRoot(media, entry.m_strVolumeLabel, entry.m_dwVolumeSerial))
        return root;
    const bool isDisc = entry.m_nKind == catalog::CCD::kKindDisk;
    Log().Post(MessageKind::Hint,
               text::LocalWith(isDisc ? "请在光驱中插入光盘 %s " : folderHint, entry.m_strName));
    return std::nullopt;
}

}  // namespace pelko::shell
