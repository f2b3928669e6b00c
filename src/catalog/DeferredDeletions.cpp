#include "catalog/DeferredDeletions.h"

#include <system_error>

#include "catalog/CCategory.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "text/Codec.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

// Removes a file unless something other than a file stands at its name. False when it is there
// and could not be removed.
bool RemoveFile(const fs::path& file) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (ec || !fs::exists(status) || fs::is_directory(status)) return true;
    return fs::remove(file, ec);
}

}  // namespace

void DeferredDeletions::Run(const CCategory& root, MessageLog& log) {
    for (const EntryLeftovers& leftovers : m_pending) {
        for (const fs::path& page : leftovers.pages) RemoveFile(page);
        if (root.FindEntryByLabel(leftovers.volumeLabel, leftovers.volumeSerial) != nullptr) continue;
        for (const fs::path& file : leftovers.discFiles) {
            if (!RemoveFile(file))
                log.Post(MessageKind::Error, text::Local("删除光盘文件 ") + ModelPath(file) + text::Local(" 失败"));
        }
        if (!leftovers.index.empty()) RemoveFile(leftovers.index);
        for (const fs::path& folder : leftovers.folders) {
            std::error_code ec;
            if (fs::is_directory(fs::symlink_status(folder, ec))) fs::remove_all(folder, ec);
        }
    }
    m_pending.clear();
}

}  // namespace pelko::catalog
