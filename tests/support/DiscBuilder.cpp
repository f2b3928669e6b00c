#include "support/DiscBuilder.h"

#include <gtest/gtest.h>

#include <memory>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/DiscStore.h"
#include "support/RecordingLog.h"

namespace pelko::test {

catalog::CDir& AddFolder(catalog::CDir& parent, std::string_view name, std::string_view memo) {
    auto dir = std::make_unique<catalog::CDir>();
    dir->m_strName = name;
    dir->m_strMemo = memo;
    catalog::CDir* added = parent.InsertSubdir(std::move(dir));
    EXPECT_NE(added, nullptr) << "duplicate folder " << name;
    return *added;
}

catalog::CFileInfo& AddFile(catalog::CDir& parent, std::string_view name, std::string_view memo) {
    auto file = std::make_unique<catalog::CFileInfo>();
    file->m_strName = name;
    file->m_strMemo = memo;
    catalog::CFileInfo* added = parent.InsertFile(std::move(file));
    EXPECT_NE(added, nullptr) << "duplicate file " << name;
    return *added;
}

catalog::CDiskInfo& AddDisc(const std::filesystem::path& catalogFolder, catalog::CCategory& category,
                            std::string_view name, std::string_view label, std::uint32_t serial,
                            const std::function<void(catalog::CCD&)>& fill) {
    RecordingLog log;
    catalog::CDiskInfo* entry = category.AddNewEntry(name, log);
    EXPECT_NE(entry, nullptr) << "duplicate entry " << name;
    entry->m_strVolumeLabel = label;
    entry->m_dwVolumeSerial = serial;
    auto cd = std::make_unique<catalog::CCD>();
    cd->m_strVolumeLabel = label;
    cd->m_dwVolumeSerial = serial;
    cd->m_strName = "D:";
    fill(*cd);
    cd->m_bModified = true;
    catalog::DiscStore store(catalogFolder, log);
    EXPECT_TRUE(store.Release(cd));
    EXPECT_TRUE(log.Lines().empty());
    return *entry;
}

}  // namespace pelko::test
