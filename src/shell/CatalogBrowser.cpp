#include "shell/CatalogBrowser.h"

#include <exception>
#include <system_error>

#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "catalog/Statistics.h"
#include "shell/AppSettings.h"
#include "shell/CatalogChanges.h"
#include "shell/CatalogEditor.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace fs = std::filesystem;
using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using catalog::MessageKind;

CatalogBrowser::CatalogBrowser(catalog::CPelkoDoc& doc, catalog::DiscStore& discs, CatalogEditor& editor,
                               CatalogChanges& changes, BusyState& busy, const AppSettings& settings,
                               MediumLocator& media, OpenOnDesktop openOnDesktop)
    : m_doc(doc),
      m_discs(discs),
      m_editor(editor),
      m_changes(changes),
      m_busy(busy),
      m_settings(settings),
      m_media(media),
      m_openOnDesktop(std::move(openOnDesktop)) {}

catalog::MessageLog& CatalogBrowser::Log() { return m_doc.Log(); }
catalog::UserInterface& CatalogBrowser::Ui() { return m_doc.Ui(); }

bool CatalogBrowser::DiscFileExists(const CDiskInfo& entry) const {
    std::error_code error;
    return fs::exists(m_discs.PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial), error) ||
           fs::exists(m_discs.ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial), error);
}

SelectionCheck CatalogBrowser::BeforeSelect(const CatalogObject& node) {
    CDiskInfo* const* entry = std::get_if<CDiskInfo*>(&node);
    if (entry == nullptr || *entry == nullptr || m_editor.Open().IsOpen(*entry)) return {};
    if (!CloseOpenScanObject())
        return {.allowed = false, .selectInstead = std::nullopt, .offerDeletion = nullptr};
    if (!DiscFileExists(**entry)) {
        Log().Post(MessageKind::Warning, text::Local("这个对象的扫描文件不存在，需要删除"));
        return {.allowed = false, .selectInstead = TreeParent(node), .offerDeletion = *entry};
    }
    return {};
}

bool CatalogBrowser::CloseOpenScanObject() {
    OpenScanObject& open = m_editor.Open();
    if (!open.cd) {
        open.entry = nullptr;
        return true;
    }
    CDiskInfo* const entry = open.entry;
    if (entry) m_changes.ScanObjectAboutToClose(*entry, *open.cd);
    if (!m_discs.Release(open.cd)) {
        // Release reported why and kept the disc with its unwritten changes: it stays open, and
        // the views that let go of its folders take them back.
        if (entry) m_changes.ScanObjectOpened(*entry, *open.cd);
        return false;
    }
    open.entry = nullptr;
    return true;
}

EntryOpening CatalogBrowser::OpenEntry(CDiskInfo& entry) {
    if (m_editor.Open().IsOpen(&entry)) return EntryOpening::Opened;
    if (!CloseOpenScanObject()) return EntryOpening::Failed;
    std::unique_ptr<catalog::CCD> cd;
    try {
        cd = m_discs.Open(entry);
    } catch (const std::exception&) {
        Log().Post(MessageKind::Error, text::Local("打开光盘出错，检查该标签的光盘是否在光盘库中"));
        return EntryOpening::Failed;
    }
    if (!cd) {
        Log().Post(MessageKind::Error, text::LocalWith("打开光盘 %s  失败", entry.m_strName));
        const CatalogObject row = &entry;
        return m_editor.DeleteFromList(std::span(&row, 1)) ? EntryOpening::Removed : EntryOpening::Failed;
    }
    OpenScanObject& open = m_editor.Open();
    open.entry = &entry;
    open.cd = std::move(cd);
    if (catalog::RefreshOldEntry(*open.cd, entry)) {
        m_doc.SetModified();
        m_changes.Changed(&entry);
    }
    m_changes.ScanObjectOpened(entry, *open.cd);
    return EntryOpening::Opened;
}

std::string CatalogBrowser::StatusLine(const CatalogObject& node) const {
    return std::visit(Overloaded{
                          [&](CCategory* c) {
                              return c ? catalog::CategoryStatusText(*c, m_settings.bListDiskOnly)
                                       : std::string();
                          },
                          [](CDir* d) {
                              if (d == nullptr) return std::string();
                              if (const catalog::CCD* cd = d->AsCD()) return catalog::DiscStatusText(*cd);
                              return catalog::FolderStatusText(*d);
                          },
                          [](auto) { return std::string(); },
                      },
                      node);
}

}  // namespace pelko::shell
