#include "catalog/Statistics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CFileInfo.h"
#include "platform/FileTime.h"
#include "support/RecordingLog.h"
#include "text/Codec.h"

namespace pelko::catalog {
namespace {

using text::Local;

constexpr double kMiB = 1048576.0;

CDiskInfo& AddEntry(CCategory& category, std::string name, double scanBytes, double currentBytes,
                    std::uint32_t files, std::uint32_t folders) {
    test::RecordingLog log;
    CDiskInfo* entry = category.AddNewEntry(name, log);
    EXPECT_NE(entry, nullptr);
    entry->m_dScanBytes = scanBytes;
    entry->m_dCurrentBytes = currentBytes;
    entry->m_nFileCount = files;
    entry->m_nFolderCount = folders;
    return *entry;
}

CCategory& AddCategory(CCategory& parent, std::string name) {
    test::RecordingLog log;
    auto child = std::make_unique<CCategory>();
    child->m_strName = std::move(name);
    CCategory* raw = child.get();
    EXPECT_TRUE(parent.AddExistingSubcategory(child, log));
    return *raw;
}

std::unique_ptr<CFileInfo> File(std::string name, std::uint64_t size) {
    auto file = std::make_unique<CFileInfo>();
    file->m_strName = std::move(name);
    file->SetSize(size);
    return file;
}

std::unique_ptr<CDir> Dir(std::string name) {
    auto dir = std::make_unique<CDir>();
    dir->m_strName = std::move(name);
    return dir;
}

TEST(StatisticsTest, EmptyCategoryTexts) {
    CCategory category;
    category.m_strName = Local("音乐");
    EXPECT_EQ(CategoryDescription(category),
              Local("类别名称：音乐\r\n子类别个数：0 个\r\n扫描对象（光盘/磁盘/目录）个数：0 个\r\n"
                    "扫描时所有文件占用空间：0.000 MB\r\n当前所有文件占用空间：0.000 MB\r\n"
                    "当前所有文件个数：0 个\r\n当前所有文件夹个数：0 个\r\n备注信息："));
    EXPECT_EQ(CategorySizeText(category), "0.000 MB");
    EXPECT_EQ(CategoryStatusText(category, false), Local("0 个类别, 0 张光盘, 占用空间：0.000MB"));
}

// A category holding one sub-category with two entries: the totals come from the whole
// subtree, the status counts only direct children.
TEST(StatisticsTest, CategoryTotalsComeFromTheSubtree) {
    CCategory root;
    root.m_strMemo = Local("备忘");
    CCategory& music = AddCategory(root, Local("音乐"));
    AddEntry(music, "A", 2 * kMiB, 1048576, 3, 1);
    AddEntry(music, "B", 0.5 * kMiB, 524288, 4, 2);

    EXPECT_EQ(CategorySizeText(root), "1.500 MB");
    EXPECT_EQ(CategoryStatusText(root, false), Local("1 个类别, 0 张光盘, 占用空间：1.500MB"));
    EXPECT_EQ(CategoryStatusText(root, true), Local("0 个类别, 0 张光盘, 占用空间：1.500MB"));
    EXPECT_EQ(CategoryDescription(root),
              Local("类别名称：Pelko\r\n子类别个数：1 个\r\n扫描对象（光盘/磁盘/目录）个数：2 个\r\n"
                    "扫描时所有文件占用空间：2.500 MB\r\n当前所有文件占用空间：1.500 MB\r\n"
                    "当前所有文件个数：7 个\r\n当前所有文件夹个数：3 个\r\n备注信息：备忘"));
    EXPECT_EQ(CategoryStatusText(music, false), Local("0 个类别, 2 张光盘, 占用空间：1.500MB"));
}

TEST(StatisticsTest, AggregationCountsEveryLevelButTheCategoryItself) {
    CCategory root;
    AddEntry(root, "top", 10, 1, 1, 10);
    CCategory& a = AddCategory(root, "a");
    CCategory& b = AddCategory(root, "b");
    AddEntry(a, "a1", 20, 2, 2, 20);
    CCategory& deep = AddCategory(AddCategory(b, "b1"), "b1x");
    AddEntry(deep, "x1", 40, 4, 4, 40);
    AddEntry(deep, "x2", 80, 8, 8, 80);

    const CategoryTotals t = AggregateCategory(root);
    EXPECT_EQ(t.categoryCount, 4u);
    EXPECT_EQ(t.entryCount, 4u);
    EXPECT_EQ(t.scanBytes, 150);
    EXPECT_EQ(t.currentBytes, 15);
    EXPECT_EQ(t.fileCount, 15u);
    EXPECT_EQ(t.folderCount, 150u);

    const CategoryTotals inner = AggregateCategory(b);
    EXPECT_EQ(inner.categoryCount, 2u);
    EXPECT_EQ(inner.entryCount, 2u);
    EXPECT_EQ(inner.fileCount, 12u);
}

TEST(StatisticsTest, EntryTexts) {
    struct Case {
        std::uint32_t files, folders;
        bool oldVersion;
    };
    const Case cases[] = {{0, 0, true}, {1, 0, false}, {0, 1, false}, {4294967295u, 7, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.files) + "/" + std::to_string(c.folders));
        CDiskInfo entry;
        entry.m_strName = Local("备份盘");
        entry.m_strMemo = Local("第一张");
        entry.m_dScanBytes = 3 * kMiB;
        entry.m_dCurrentBytes = 1536;
        entry.m_nFileCount = c.files;
        entry.m_nFolderCount = c.folders;
        if (c.oldVersion) {
            const std::string old = Local("这是一个旧版本的扫描对象，您可以打开这个扫描对象以刷新统计信息");
            EXPECT_EQ(EntryDescription(entry), old);
            EXPECT_EQ(EntrySizeText(entry), old);
            continue;
        }
        EXPECT_EQ(EntryDescription(entry),
                  Local("名称：备份盘\r\n扫描时所有文件占用空间：3.000MB\r\n当前所有文件占用空间：0.001MB\r\n"
                        "当前所有文件个数：" +
                        std::to_string(c.files) + "个\r\n当前所有文件夹个数：" + std::to_string(c.folders) +
                        "个\r\n备注信息：第一张"));
        EXPECT_EQ(EntrySizeText(entry), "0.001 MB");
    }
}

// Names and memos are copied byte for byte: conversion characters and NUL bytes in them are
// not interpreted.
TEST(StatisticsTest, TextValuesAreNotFormatted) {
    CDiskInfo entry;
    entry.m_strName = std::string("50%d%s\0x", 8);
    entry.m_strMemo = "100%";
    entry.m_nFileCount = 1;
    EXPECT_EQ(EntryDescription(entry),
              Local("名称：") + std::string("50%d%s\0x", 8) +
                  Local("\r\n扫描时所有文件占用空间：0.000MB\r\n当前所有文件占用空间：0.000MB\r\n"
                        "当前所有文件个数：1个\r\n当前所有文件夹个数：0个\r\n备注信息：100%"));
}

TEST(StatisticsTest, LoadedDiscTexts) {
    CCD cd;
    cd.m_strName = "D:";
    cd.m_strDisplayName = Local("软件光盘");
    cd.m_strMemo = Local("根目录备注");
    cd.m_dScanBytes = 10 * kMiB;
    cd.m_dCurrentBytes = 2.25 * kMiB;
    cd.m_nFileCount = 12;
    cd.m_nFolderCount = 0;  // a loaded disc never shows the old-version text
    cd.InsertSubdir(Dir("a"));
    cd.InsertSubdir(Dir("b"))->InsertFile(File("x", 5));
    cd.InsertFile(File("f", 1));

    EXPECT_EQ(DiscDescription(cd),
              Local("名称：软件光盘\r\n扫描时所有文件占用空间：10.000MB\r\n当前所有文件占用空间：2.250MB\r\n"
                    "当前所有文件个数：12个\r\n当前所有文件夹个数：0个\r\n备注信息：根目录备注"));
    EXPECT_EQ(DiscStatusText(cd), Local("2 个目录,  1 个文件, 占用空间：2.250MB"));
}

// Two sub-folders of three files each: the status counts direct children, the description
// the whole subtree.
TEST(StatisticsTest, FolderStatusAndDescriptionCountDifferently) {
    CDir dir;
    dir.m_strName = Local("照片");
    dir.m_strMemo = Local("假期");
    for (const char* name : {"s1", "s2"}) {
        CDir* sub = dir.InsertSubdir(Dir(name));
        for (const char* file : {"1", "2", "3"}) sub->InsertFile(File(file, 262144));
    }

    EXPECT_EQ(FolderStatusText(dir), Local("2 个文件夹, 0 个文件, 占用空间：1.500MB"));
    EXPECT_EQ(FolderDescription(dir),
              Local("文件夹名称：照片\r\n当前所有文件占用空间：1.500 MB\r\n当前所有文件夹个数：2 个\r\n"
                    "当前所有文件个数：6 个\r\n备注信息：假期"));
    EXPECT_EQ(FolderSizeText(dir), "1.500 MB");

    CDir empty;
    EXPECT_EQ(FolderStatusText(empty), Local("0 个文件夹, 0 个文件, 占用空间：0.000MB"));
    EXPECT_EQ(FolderSizeText(empty), "0.000 MB");
}

TEST(StatisticsTest, FileDescription) {
    CFileInfo file;
    file.m_strName = Local("影片.iso");
    file.m_strMemo = Local("备份");
    file.m_dwSizeHigh = 1;
    file.m_dwSizeLow = 1073741824;  // 5 GiB in all
    file.m_ftTime = platform::FileTimeFromUnix(1057309559, 0);
    EXPECT_EQ(FileDescription(file), Local("文件名称：影片.iso\r\n文件创建时间：2003-7-4 9:5\r\n"
                                           "文件大小：5120.000MB\r\n备注信息：备份"));

    file.m_ftTime = std::numeric_limits<std::uint64_t>::max();
    file.SetSize(0);
    file.m_strMemo.clear();
    EXPECT_EQ(FileDescription(file),
              Local("文件名称：影片.iso\r\n文件创建时间：\r\n文件大小：0.000MB\r\n备注信息："));
}

TEST(StatisticsTest, FileTimeText) {
    constexpr std::uint64_t kLast = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::uint64_t fileTime;
        const char* text;
    } cases[] = {
        {0, "1601-1-1 0:0"},
        {platform::FileTimeFromUnix(0, 0), "1970-1-1 0:0"},
        {platform::FileTimeFromUnix(951868799, 999999999), "2000-2-29 23:59"},  // leap day, last tick
        {platform::FileTimeFromUnix(1057309559, 0), "2003-7-4 9:5"},
        {platform::FileTimeFromUnix(4102444800, 0), "2100-1-1 0:0"},  // 2100 is no leap year
        {kLast, "30828-9-14 2:48"},
        {kLast + 1, ""},
        {std::numeric_limits<std::uint64_t>::max(), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileTimeText(c.fileTime), c.text) << c.fileTime;
}

}  // namespace
}  // namespace pelko::catalog
