#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CRootCategory.h"
#include "catalog/DiscStore.h"
#include "search/CFindThread.h"
#include "search/FindDescription.h"
#include "search/FindProgress.h"
#include "support/DiscBuilder.h"
#include "support/RecordingLog.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::search {
namespace {

using catalog::MessageKind;
using test::AddDisc;
using test::AddFile;
using test::AddFolder;

// Catalog paths in the tests are written with "/" for readability.
std::string Path(std::string_view utf8) {
    std::string path = text::Local(utf8);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

using Lines = std::vector<std::pair<MessageKind, std::string>>;

std::vector<std::string> ResultLines(const Lines& all) {
    std::vector<std::string> lines;
    for (const auto& [kind, line] : all)
        if (kind == MessageKind::Result) lines.push_back(text::ToUtf8(line));
    return lines;
}

std::vector<std::string> ResultLines(const test::RecordingLog& log) { return ResultLines(log.Lines()); }

// Pelko                      entry 根盘 (file x.txt)
//   类别A  (memo "x memo")   entries 盘一 (folders and files below), 盘二 (label XLAB, empty)
//     子类                    entry 盘三 (file X)
//   Bx                       entry 坏盘 (its disc file is not a ZIP)
class SearchWalkTest : public ::testing::Test {
protected:
    void SetUp() override {
        root.m_strName = "Pelko";
        AddDisc(catalogDir.path(), root, text::Local("根盘"), "ROOT", 1,
                [](catalog::CCD& cd) { AddFile(cd, "x.txt"); });
        catalog::CCategory* a = root.AddNewSubcategory(text::Local("类别A"), log, ui);
        a->m_strMemo = "x memo";
        AddDisc(catalogDir.path(), *a, text::Local("盘一"), "ONE", 2, [](catalog::CCD& cd) {
            AddFile(cd, "b x");
            AddFile(cd, "a x");
            AddFile(cd, "plain", "memo x");  // name and memo: one hit
            catalog::CDir& sub = AddFolder(cd, "sub x");
            AddFile(sub, "c x");
            catalog::CDir& other = AddFolder(cd, "other");
            catalog::CDir& deep = AddFolder(other, "deep x");
            AddFile(deep, "x");
        });
        AddDisc(catalogDir.path(), *a, text::Local("盘二"), "XLAB", 3,
                [](catalog::CCD& cd) { cd.m_strReadme = "x"; });
        catalog::CCategory* sub = a->AddNewSubcategory(text::Local("子类"), log, ui);
        AddDisc(catalogDir.path(), *sub, text::Local("盘三"), "THREE", 4,
                [](catalog::CCD& cd) { AddFile(cd, "X"); });
        catalog::CCategory* b = root.AddNewSubcategory("Bx", log, ui);
        catalog::CDiskInfo* broken = b->AddNewEntry(text::Local("坏盘"), log);
        broken->m_strVolumeLabel = "GONE";
        broken->m_dwVolumeSerial = 5;
        catalogDir.WriteFile("Disk/GONE5.pkb.zip", "not a zip");
    }

    // Runs a search to its end on this thread. Unless told not to use the index, the same search
    // also runs reading every disc file in full, the reference: both must write the same lines.
    Lines Search(FindCriteria criteria, const catalog::CCategory& from, PrefetchOptions prefetch = {}) {
        const Lines lines = SearchOnce(criteria, from, prefetch);
        if (prefetch.useIndex) {
            PrefetchOptions full = prefetch;
            full.useIndex = false;
            EXPECT_EQ(SearchOnce(criteria, from, full), lines) << "the index answers as the disc files do";
        }
        return lines;
    }

    Lines SearchOnce(FindCriteria criteria, const catalog::CCategory& from, PrefetchOptions prefetch) {
        test::RecordingLog out;
        CFindThread worker(std::move(criteria), FindObject{&from, nullptr, {}}, catalogDir.path(), out,
                           nullptr, {}, prefetch);
        EXPECT_TRUE(worker.Run());
        EXPECT_EQ(worker.HitCount(), static_cast<int>(ResultLines(out).size()));
        return out.Lines();
    }

    test::TempDir catalogDir;
    test::RecordingLog log;
    test::ScriptedUi ui;
    catalog::CRootCategory root;
};

const std::vector<std::string> kAllHitsOfX = {
    "Pelko\\根盘\\x.txt",
    "Pelko\\类别A",
    "Pelko\\类别A\\盘二",
    "Pelko\\类别A\\盘一\\a x",
    "Pelko\\类别A\\盘一\\b x",
    "Pelko\\类别A\\盘一\\plain",
    "Pelko\\类别A\\盘一\\sub x",
    "Pelko\\类别A\\盘一\\other\\deep x",
    "Pelko\\类别A\\盘一\\other\\deep x\\x",
    "Pelko\\类别A\\盘一\\sub x\\c x",
    "Pelko\\类别A\\子类\\盘三\\X",
    "Pelko\\Bx",
};

FindCriteria AllTargets(std::string text) {
    FindCriteria criteria;
    criteria.text = std::move(text);
    criteria.targets = kAllTargets;
    return criteria;
}

TEST_F(SearchWalkTest, HitsComeInWalkOrderWhateverTheThreads) {
    for (const unsigned threads : {1u, 2u, 4u}) {
        for (const std::size_t window : {std::size_t{1}, std::size_t{4}}) {
            SCOPED_TRACE(testing::Message() << threads << " threads, window " << window);
            const Lines lines = Search(AllTargets("x"), root, {threads, window});
            EXPECT_EQ(ResultLines(lines), kAllHitsOfX);
            // The broken disc file is reported in its place: after its category's own hit.
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back().first, MessageKind::Error);
            EXPECT_NE(text::ToUtf8(lines.back().second).find("GONE5.pkb"), std::string::npos);
            EXPECT_EQ(lines[lines.size() - 2].second, Path("Pelko/Bx"));
        }
    }
}

TEST_F(SearchWalkTest, ScopeAndTargetsDecideWhatIsSearched) {
    const catalog::CCategory& a = *root.FindSubcategory(text::Local("类别A"));
    FindCriteria onlyThis = AllTargets("x");
    onlyThis.onlyThisCategory = true;
    EXPECT_EQ(ResultLines(Search(onlyThis, a)),
              (std::vector<std::string>(kAllHitsOfX.begin() + 1, kAllHitsOfX.begin() + 10)))
        << "the category's own scan objects, not its sub-category's";

    FindCriteria catalogOnly = AllTargets("x");
    catalogOnly.targets = kCatalogTargets;
    const Lines catalogOut = Search(catalogOnly, root);
    EXPECT_EQ(ResultLines(catalogOut),
              (std::vector<std::string>{"Pelko\\类别A", "Pelko\\类别A\\盘二", "Pelko\\Bx"}));
    EXPECT_EQ(catalogOut.size(), 3u) << "no disc file is read for catalog targets";

    FindCriteria everything = AllTargets("");
    everything.targets = kCategoryName | kDiscLabel;
    EXPECT_EQ(ResultLines(Search(everything, root)).size(), 4u + 5u)
        << "empty text: every category and entry";
    everything.partMatch = false;
    EXPECT_TRUE(ResultLines(Search(everything, root)).empty());

    FindCriteria folders = AllTargets("x");
    folders.targets = kFolderName;
    EXPECT_EQ(ResultLines(Search(folders, root)),
              (std::vector<std::string>{"Pelko\\类别A\\盘一\\sub x", "Pelko\\类别A\\盘一\\other\\deep x"}));

    FindCriteria readme = AllTargets("x");
    readme.targets = kFileMemo;
    readme.readme = true;
    EXPECT_EQ(ResultLines(Search(readme, root)),
              (std::vector<std::string>{"Pelko\\类别A\\盘一\\plain", "Pelko\\类别A\\盘二\\ReadMe"}));
}

// Records what the wait dialog would show.
class RecordingProgress final : public FindProgress {
public:
    void ShowFolderPath(std::string_view path) override { folders.emplace_back(path); }
    void ShowProgress(int percent) override { percents.push_back(percent); }
    std::vector<std::string> folders;
    std::vector<int> percents;
};

TEST_F(SearchWalkTest, OneScanObjectWithProgress) {
    auto contents = std::make_unique<catalog::CCD>();
    for (int i = 0; i < 12; ++i) AddFile(*contents, "f" + std::to_string(100 + i));
    AddFolder(AddFolder(*contents, "a"), "b");
    contents->m_strReadme = "F";
    FindCriteria criteria = AllTargets("F");
    criteria.targets = kFileName;
    criteria.readme = true;
    test::RecordingLog out;
    RecordingProgress progress;
    CFindThread worker(criteria, FindObject{nullptr, contents.get(), Path("Pelko/盘")}, catalogDir.path(),
                       out, &progress, {});
    EXPECT_TRUE(worker.Run());
    const std::vector<std::string> hits = ResultLines(out);
    ASSERT_EQ(hits.size(), 13u);
    EXPECT_EQ(hits[0], "Pelko\\盘\\ReadMe");
    EXPECT_EQ(hits[1], "Pelko\\盘\\f100");
    EXPECT_EQ(progress.folders, (std::vector<std::string>{"", "\\a", "\\a\\b"}));
    EXPECT_EQ(progress.percents, (std::vector<int>{0, 41, 83})) << "every 5th of 12 files";
}

// With scan objects searched ahead on several threads, the wait dialog follows only the one
// whose hits come next: the first one in full, then later ones in walk order, never back. The
// recorder has no lock of its own, so under ThreadSanitizer this also checks that each
// thread's calls come strictly after the last one's.
TEST_F(SearchWalkTest, ProgressFollowsTheScanObjectWhoseHitsComeNext) {
    catalog::CCategory* many = root.AddNewSubcategory("many", log, ui);
    for (int d = 0; d < 6; ++d) {
        AddDisc(catalogDir.path(), *many, "d" + std::to_string(d), "M", 200 + d, [d](catalog::CCD& cd) {
            catalog::CDir& folder = AddFolder(cd, "in" + std::to_string(d));
            for (int f = 0; f < 12; ++f) AddFile(folder, "hit" + std::to_string(f));
        });
    }
    FindCriteria criteria = AllTargets("hit");
    criteria.targets = kFileName;
    test::RecordingLog out;
    RecordingProgress progress;
    CFindThread worker(criteria, FindObject{many, nullptr, {}}, catalogDir.path(), out, &progress, {},
                       {4, 4});
    ASSERT_TRUE(worker.Start());
    worker.Join();
    EXPECT_EQ(worker.HitCount(), 6 * 12);
    // Entries stand newest first: d5 is searched first.
    ASSERT_GE(progress.folders.size(), 2u);
    EXPECT_EQ(progress.folders[0], "");
    EXPECT_EQ(progress.folders[1], "\\in5");
    int last = 6;
    for (const std::string& folder : progress.folders) {
        if (folder.empty()) continue;
        const int disc = folder.back() - '0';
        EXPECT_LE(disc, last) << folder << " after in" << last;
        last = disc;
    }
}

// Stops the search from inside the log at a given hit, as a Cancel click would.
class StoppingLog final : public catalog::MessageLog {
public:
    explicit StoppingLog(int stopAt) : m_stopAt(stopAt) {}
    void Post(MessageKind kind, std::string_view text) override {
        lines.Post(kind, text);
        if (kind == MessageKind::Result && ++m_seen == m_stopAt && worker) worker->Stop();
    }
    test::RecordingLog lines;
    CFindThread* worker = nullptr;

private:
    int m_stopAt;
    int m_seen = 0;
};

TEST_F(SearchWalkTest, CancellationKeepsTheHitsWrittenAndFinishesOnce) {
    catalog::CCategory* many = root.AddNewSubcategory("many", log, ui);
    for (int d = 0; d < 8; ++d) {
        AddDisc(catalogDir.path(), *many, "d" + std::to_string(d), "M", 100 + d, [](catalog::CCD& cd) {
            for (int f = 0; f < 40; ++f) AddFile(cd, "hit" + std::to_string(f));
        });
    }
    for (const unsigned threads : {1u, 4u}) {
        SCOPED_TRACE(threads);
        StoppingLog out(45);
        std::atomic<int> finished{0};
        FindCriteria criteria = AllTargets("hit");
        criteria.targets = kFileName;
        CFindThread worker(criteria, FindObject{many, nullptr, {}}, catalogDir.path(), out, nullptr,
                           [&] { finished.fetch_add(1); }, {threads, 4});
        out.worker = &worker;
        ASSERT_TRUE(worker.Start());
        worker.Join();
        EXPECT_EQ(finished.load(), 1);
        const std::vector<std::string> hits = ResultLines(out.lines);
        EXPECT_EQ(worker.HitCount(), static_cast<int>(hits.size()));
        EXPECT_GE(hits.size(), 45u);
        EXPECT_LT(hits.size(), 60u) << "stops within ten files of the Cancel";
        EXPECT_EQ(hits[44], "Pelko\\many\\d6\\hit12")
            << "in order up to the stop (entries stand newest first)";
    }
}

// A search writes the index of each disc it had to read in full; later searches answer from
// the indexes with the same lines, and an index that no longer belongs to its disc file (the
// disc changed, or the index was damaged) is never used and is written anew.
TEST_F(SearchWalkTest, SearchesKeepTheIndexOfEachDiscCurrent) {
    catalog::DiscStore store(catalogDir.path(), log);
    std::filesystem::remove_all(catalogDir.path() / "Index");  // as a catalog of an older version
    const Lines first = Search(AllTargets("x"), root);
    const std::filesystem::path index = store.IndexPath("ONE", 2);
    ASSERT_TRUE(std::filesystem::exists(index));
    const catalog::CDiskInfo& one = *root.FindEntryByLabel("ONE", 2);
    EXPECT_TRUE(store.OpenIndex(one));
    EXPECT_FALSE(std::filesystem::exists(store.IndexPath("GONE", 5))) << "no index for an unreadable disc";
    EXPECT_EQ(Search(AllTargets("x"), root), first);

    // Changed through the disc store: releasing it brings the index up to date at once.
    std::unique_ptr<catalog::CCD> cd = store.Open(one);
    ASSERT_TRUE(cd);
    ASSERT_EQ(cd->Files().front()->m_strName, "a x");
    cd->Files().front()->m_strName = "aa x";  // keeps the sorted order
    cd->m_bModified = true;
    ASSERT_TRUE(store.Release(cd));
    EXPECT_TRUE(store.OpenIndex(one));
    std::vector<std::string> expected = ResultLines(first);
    expected[3] = "Pelko\\类别A\\盘一\\aa x";
    EXPECT_EQ(ResultLines(Search(AllTargets("x"), root)), expected);

    // Damaged: refused, the disc read in full, the index written again.
    std::string bytes = test::ReadFile(index);
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x10);
    test::WriteFileBytes(index, std::span<const std::uint8_t>(
                                    reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_FALSE(store.OpenIndex(one));
    EXPECT_EQ(ResultLines(Search(AllTargets("x"), root)), expected);
    EXPECT_TRUE(store.OpenIndex(one));

    // Without the index the same search reads every disc and writes nothing.
    std::filesystem::remove_all(catalogDir.path() / "Index");
    PrefetchOptions fullOnly;
    fullOnly.useIndex = false;
    EXPECT_EQ(ResultLines(Search(AllTargets("x"), root, fullOnly)), expected);
    EXPECT_FALSE(std::filesystem::exists(catalogDir.path() / "Index"));
}

TEST(FindDescriptionTest, LinesThatOpenAndCloseASearch) {
    FindCriteria criteria;
    criteria.text = "abc";
    criteria.targets = kDiscLabel;
    auto lines = DescribeSearch(criteria, FindScopeKind::kCategory, "Pelko");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], (DescriptionLine{MessageKind::Hint, text::Local("正在查找...")}));
    EXPECT_EQ(lines[1].second, text::Local("范围：类别<< Pelko >>及其所有子类别下下的光盘"));
    EXPECT_EQ(lines[2].second, text::Local("对象：光盘标签（即硬盘上的光盘文件名称）"));
    EXPECT_EQ(lines[3].second, text::Local("条件：部分匹配，不分大小写"));
    EXPECT_EQ(lines[4], (DescriptionLine{MessageKind::Detail, text::Local("内容：abc")}));

    criteria.targets = kFileName | kFileMemo;
    criteria.onlyThisCategory = true;
    criteria.partMatch = false;
    criteria.caseSensitive = true;
    lines = DescribeSearch(criteria, FindScopeKind::kCategory, "Pelko");
    ASSERT_EQ(lines.size(), 4u) << "no target line for several targets";
    EXPECT_EQ(lines[1].second, text::Local("范围：类别<< Pelko >>下的光盘"));
    EXPECT_EQ(lines[2].second, text::Local("条件：完全匹配，区分大小写"));
    criteria.targets = 0;
    EXPECT_EQ(DescribeSearch(criteria, FindScopeKind::kScanObject, "Pelko\\d")[1].second,
              text::Local("范围：光盘<< Pelko\\d >>"));
    EXPECT_EQ(DescribeSearch(criteria, FindScopeKind::kScanObject, "x").size(), 4u);
    EXPECT_EQ(CountLine(12), text::Local("符合条件的查找结果共有 12 项"));
}

}  // namespace
}  // namespace pelko::search
