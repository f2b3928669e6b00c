#include "catalog/StaleTemporaries.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "catalog/CPelkoDoc.h"
#include "catalog/DefaultPictures.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "platform/FileDescriptor.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::catalog {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryMark = ".tmp";
constexpr std::size_t kRandomLetters = 6;  // mkstemp's XXXXXX

bool IsMkstempLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// What AtomicFile replaces in each folder.
bool IsOwnTargetName(std::string_view target, TemporaryPlace place) {
    if (place == TemporaryPlace::CatalogFolder)
        return target == CPelkoDoc::kCatalogFile || target == "help.htm" || target == "faq.htm";
    const std::string lower = text::AsciiLower(target);
    if (place == TemporaryPlace::IndexFolder) return lower.size() > 4 && lower.ends_with(".idx");
    // Disc files and their ZIPs; a merge brings in older ".zip" disc files under their own names.
    if (lower.size() > 4 && (lower.ends_with(".pkb") || lower.ends_with(".zip"))) return true;
    return std::any_of(std::begin(kAllDefaultPictures), std::end(kAllDefaultPictures),
                       [&](DefaultPicture picture) { return target == DefaultPictureFileName(picture); });
}

enum class Removal { Kept, Removed, Failed };

// Removes the file when no one holds its lock and it has not changed for `minimumAge`.
Removal RemoveIfStale(const fs::path& file, std::chrono::seconds minimumAge) {
    const platform::FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return Removal::Kept;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return Removal::Kept;
    if (std::time(nullptr) - st.st_mtim.tv_sec < minimumAge.count()) return Removal::Kept;
    // A writer holds the lock while it writes; held now, the save is running.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return Removal::Kept;
    return ::unlink(file.c_str()) == 0 || errno == ENOENT ? Removal::Removed : Removal::Failed;
}

void RemoveIn(const fs::path& folder, TemporaryPlace place, std::chrono::seconds minimumAge, MessageLog& log,
              std::vector<fs::path>& removed) {
    std::error_code ec;
    std::vector<fs::path> candidates;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsOwnTemporaryName(it->path().filename().native(), place)) candidates.push_back(it->path());
    }
    std::sort(candidates.begin(), candidates.end());
    for (const fs::path& file : candidates) {
        switch (RemoveIfStale(file, minimumAge)) {
            case Removal::Kept:
                break;
            case Removal::Removed:
                removed.push_back(file);
                log.Post(MessageKind::Hint, text::Local("删除了上次保存中断时留下的临时文件 ") + ModelPath(file));
                break;
            case Removal::Failed:
                log.Post(MessageKind::Error, text::Local("删除临时文件 ") + ModelPath(file) + text::Local(" 失败"));
                break;
        }
    }
}

}  // namespace

bool IsOwnTemporaryName(std::string_view name, TemporaryPlace place) {
    if (name.size() <= kTemporaryMark.size() + kRandomLetters) return false;
    const std::size_t mark = name.size() - kRandomLetters - kTemporaryMark.size();
    if (name.substr(mark, kTemporaryMark.size()) != kTemporaryMark) return false;
    const std::string_view letters = name.substr(mark + kTemporaryMark.size());
    if (!std::all_of(letters.begin(), letters.end(), IsMkstempLetter)) return false;
    return IsOwnTargetName(name.substr(0, mark), place);
}

std::vector<fs::path> RemoveStaleTemporaries(const fs::path& catalogFolder, MessageLog& log,
                                             std::chrono::seconds minimumAge) {
    std::vector<fs::path> removed;
    RemoveIn(catalogFolder, TemporaryPlace::CatalogFolder, minimumAge, log, removed);
    RemoveIn(catalogFolder / "Disk", TemporaryPlace::DiskFolder, minimumAge, log, removed);
    RemoveIn(catalogFolder / "Index", TemporaryPlace::IndexFolder, minimumAge, log, removed);
    return removed;
}

}  // namespace pelko::catalog
