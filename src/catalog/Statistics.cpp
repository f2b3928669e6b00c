#include "catalog/Statistics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <variant>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CFileInfo.h"
#include "text/Codec.h"

namespace pelko::catalog {

namespace {

constexpr double kBytesPerMegabyte = 1048576.0;

// One value of a text pattern: a text for %s, a double for %f, an unsigned count for %lu and a
// signed count for %d.
using Value = std::variant<std::string_view, double, std::uint32_t, int>;

// Fills a pattern of model bytes. Texts are copied byte for byte (they may hold any byte,
// NUL included); each numeric conversion is formatted on its own. A GBK or GB18030 character
// never holds the byte '%', so the pattern's conversions are found by a plain byte scan.
std::string Fill(std::string_view pattern, std::initializer_list<Value> values) {
    std::string out;
    out.reserve(pattern.size() + 64);
    const Value* next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // The conversion runs up to its letter; "l" is a length modifier, not the end.
        std::size_t end = i + 1;
        while (end < pattern.size() &&
               (pattern[end] == 'l' || !((pattern[end] >= 'a' && pattern[end] <= 'z') ||
                                         (pattern[end] >= 'A' && pattern[end] <= 'Z'))))
            ++end;
        const std::string spec(pattern.substr(i, end - i + 1));
        const Value& value = *next++;
        char buffer[400];
        int written = 0;
        switch (pattern[end]) {
            case 's':
                out += std::get<std::string_view>(value);
                break;
            case 'f':
                written = std::snprintf(buffer, sizeof buffer, spec.c_str(), std::get<double>(value));
                break;
            case 'u':
                written = std::snprintf(buffer, sizeof buffer, spec.c_str(),
                                        static_cast<unsigned long>(std::get<std::uint32_t>(value)));
                break;
            default:  // 'd'
                written = std::snprintf(buffer, sizeof buffer, spec.c_str(), std::get<int>(value));
                break;
        }
        if (written > 0)
            out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(written), sizeof buffer - 1));
        i = end;
    }
    return out;
}

double Megabytes(double bytes) { return bytes / kBytesPerMegabyte; }

// A count shown with "%d": the platform's int of the 32-bit count.
int SignedCount(std::size_t count) { return static_cast<int>(static_cast<std::uint32_t>(count)); }

const std::string& SizePattern() {
    static const std::string pattern = "%.3f MB";
    return pattern;
}

const std::string& EntryPattern() {
    static const std::string pattern = text::Local(
        "名称：%s\r\n扫描时所有文件占用空间：%.3fMB\r\n当前所有文件占用空间：%.3fMB\r\n"
        "当前所有文件个数：%lu个\r\n当前所有文件夹个数：%lu个\r\n备注信息：%s");
    return pattern;
}

}  // namespace

CategoryTotals AggregateCategory(const CCategory& category) {
    CategoryTotals totals;
    // Depth first with an explicit stack, so that a deeply nested tree cannot exhaust the
    // thread's stack; sub-categories are pushed in reverse to be visited in order.
    std::vector<const CCategory*> pending{&category};
    while (!pending.empty()) {
        const CCategory* current = pending.back();
        pending.pop_back();
        totals.entryCount += static_cast<std::uint32_t>(current->Entries().size());
        totals.categoryCount += static_cast<std::uint32_t>(current->Subcategories().size());
        for (const auto& entry : current->Entries()) {
            totals.scanBytes += entry->m_dScanBytes;
            totals.currentBytes += entry->m_dCurrentBytes;
            totals.fileCount += entry->m_nFileCount;
            totals.folderCount += entry->m_nFolderCount;
        }
        const auto& children = current->Subcategories();
        for (auto it = children.rbegin(); it != children.rend(); ++it) pending.push_back(it->get());
    }
    return totals;
}

FolderTotals AggregateFolder(const CDir& dir) {
    FolderTotals totals;
    dir.Accumulate(totals.bytes, totals.fileCount, totals.folderCount);
    return totals;
}

std::string MegabytesText(double bytes) {
    static const std::string pattern = "%.3f";
    return Fill(pattern, {Megabytes(bytes)});
}

std::string CategoryDescription(const CCategory& category) {
    static const std::string pattern = text::Local(
        "类别名称：%s\r\n子类别个数：%lu 个\r\n扫描对象（光盘/磁盘/目录）个数：%lu 个\r\n"
        "扫描时所有文件占用空间：%.3f MB\r\n当前所有文件占用空间：%.3f MB\r\n"
        "当前所有文件个数：%lu 个\r\n当前所有文件夹个数：%lu 个\r\n备注信息：%s");
    const CategoryTotals t = AggregateCategory(category);
    return Fill(pattern, {category.m_strName, t.categoryCount, t.entryCount, Megabytes(t.scanBytes),
                          Megabytes(t.currentBytes), t.fileCount, t.folderCount, category.m_strMemo});
}

std::string CategorySizeText(const CCategory& category) {
    return Fill(SizePattern(), {Megabytes(AggregateCategory(category).currentBytes)});
}

std::string CategoryStatusText(const CCategory& category, bool listDiskOnly) {
    static const std::string pattern = text::Local("%d 个类别, %d 张光盘, 占用空间：%.3fMB");
    const int categories = listDiskOnly ? 0 : SignedCount(category.Subcategories().size());
    return Fill(pattern, {categories, SignedCount(category.Entries().size()),
                          Megabytes(AggregateCategory(category).currentBytes)});
}

std::string OldVersionEntryText() {
    static const std::string text =
        text::Local("这是一个旧版本的扫描对象，您可以打开这个扫描对象以刷新统计信息");
    return text;
}

std::string EntryDescription(const CDiskInfo& entry) {
    if (entry.IsOldVersion()) return OldVersionEntryText();
    return Fill(EntryPattern(),
                {entry.m_strName, Megabytes(entry.m_dScanBytes), Megabytes(entry.m_dCurrentBytes),
                 entry.m_nFileCount, entry.m_nFolderCount, entry.m_strMemo});
}

std::string EntrySizeText(const CDiskInfo& entry) {
    if (entry.IsOldVersion()) return OldVersionEntryText();
    return Fill(SizePattern(), {Megabytes(entry.m_dCurrentBytes)});
}

std::string DiscDescription(const CCD& cd) {
    return Fill(EntryPattern(),
                {cd.m_strDisplayName, Megabytes(cd.m_dScanBytes), Megabytes(cd.m_dCurrentBytes),
                 cd.m_nFileCount, cd.m_nFolderCount, cd.m_strMemo.view()});
}

std::string DiscStatusText(const CCD& cd) {
    static const std::string pattern = text::Local("%d 个目录,  %d 个文件, 占用空间：%.3fMB");
    return Fill(pattern, {SignedCount(cd.Subdirs().size()), SignedCount(cd.Files().size()),
                          Megabytes(cd.m_dCurrentBytes)});
}

std::string FolderDescription(const CDir& dir) {
    static const std::string pattern = text::Local(
        "文件夹名称：%s\r\n当前所有文件占用空间：%.3f MB\r\n当前所有文件夹个数：%lu 个\r\n"
        "当前所有文件个数：%lu 个\r\n备注信息：%s");
    const FolderTotals t = AggregateFolder(dir);
    return Fill(pattern,
                {dir.m_strName.view(), Megabytes(t.bytes), t.folderCount, t.fileCount, dir.m_strMemo.view()});
}

std::string FolderSizeText(const CDir& dir) {
    return Fill(SizePattern(), {Megabytes(AggregateFolder(dir).bytes)});
}

std::string FolderStatusText(const CDir& dir) {
    static const std::string pattern = text::Local("%d 个文件夹, %d 个文件, 占用空间：%.3fMB");
    return Fill(pattern, {SignedCount(dir.Subdirs().size()), SignedCount(dir.Files().size()),
                          Megabytes(AggregateFolder(dir).bytes)});
}

std::string FileDescription(const CFileInfo& file) {
    static const std::string pattern =
        text::Local("文件名称：%s\r\n文件创建时间：%s\r\n文件大小：%.3fMB\r\n备注信息：%s");
    const std::string time = FileTimeText(file.m_ftTime);
    return Fill(pattern, {file.m_strName.view(), time, Megabytes(static_cast<double>(file.Size())),
                          file.m_strMemo.view()});
}

std::string FileTimeText(std::uint64_t fileTime) {
    // A file time is a signed 64-bit count: a value with the high bit set has no calendar date.
    if (fileTime > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return {};
    constexpr std::uint64_t kTicksPerMinute = 600'000'000;
    constexpr std::uint64_t kTicksPerDay = kTicksPerMinute * 60 * 24;
    constexpr int kDaysFrom1601To1970 = 134'774;
    const auto days = static_cast<int>(fileTime / kTicksPerDay);
    const std::uint64_t minuteOfDay = fileTime % kTicksPerDay / kTicksPerMinute;
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{days - kDaysFrom1601To1970}}};
    static const std::string pattern = "%d-%d-%d %d:%d";
    return Fill(pattern,
                {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                 static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(minuteOfDay / 60),
                 static_cast<int>(minuteOfDay % 60)});
}

}  // namespace pelko::catalog
