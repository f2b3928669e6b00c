#include "search/IndexSearch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/DiscIndex.h"
#include "search/FindContext.h"
#include "search/HitSink.h"
#include "search/ScanObjectSearch.h"
#include "support/DiscBuilder.h"
#include "text/Codec.h"

namespace pelko::search {
namespace {

using catalog::DiscIndex;
using test::AddFile;
using test::AddFolder;

class CollectedHits final : public HitSink {
public:
    void Hit(std::string line) override { lines.push_back(std::move(line)); }
    std::vector<std::string> lines;
};

// A tree with what trips a block search: letters of both cases, double-byte characters whose
// trail bytes have the codes of letters ("\x81\x41", "\x81\x61") or of "\" and "*", memos on
// some items only, empty names, a folder named like the root's path rule, deep nesting, a readme.
std::unique_ptr<catalog::CCD> TrickyDisc() {
    auto cd = std::make_unique<catalog::CCD>();
    cd->m_strReadme = "Read ME first \x81\x41 notes";
    AddFile(*cd, "Setup.EXE", "Installer memo");
    AddFile(*cd, "setup.exe.bak");
    AddFile(*cd, "\x81\x41\x81\x61.txt", "\x81\x61 trail");
    AddFile(*cd,
            "a\x81\x5c"
            "b*c.txt");
    AddFile(*cd, "");
    AddFile(*cd, text::Local("照片珍藏.JPG"), text::Local("旅行 Photo"));
    catalog::CDir& docs = AddFolder(*cd, "Docs", "folder MEMO");
    AddFile(docs, "readme.TXT");
    AddFile(docs, "a.txt", "txt memo");
    catalog::CDir& deep = AddFolder(AddFolder(docs, "Sub A"), "x.txt");
    AddFile(deep, "deep SETUP.txt");
    AddFile(deep, "AAA");
    catalog::CDir& empty = AddFolder(*cd, "");
    AddFile(empty, "under empty");
    AddFolder(empty, "Setup folder");
    AddFolder(*cd, text::Local("音乐"), text::Local("珍藏"));
    return cd;
}

std::vector<std::string> FullHits(const catalog::CCD& cd, const FindCriteria& criteria) {
    const std::atomic<bool> running{true};
    const FindContext context(criteria, running, nullptr);
    CollectedHits hits;
    EXPECT_TRUE(SearchScanObject(cd, "P\\D", context, hits, nullptr));
    return hits.lines;
}

std::vector<std::string> IndexHits(const DiscIndex& index, const FindCriteria& criteria) {
    const std::atomic<bool> running{true};
    const FindContext context(criteria, running, nullptr);
    CollectedHits hits;
    EXPECT_TRUE(SearchIndexedScanObject(index, "P\\D", context, hits, nullptr));
    return hits.lines;
}

// The index answers every option of the find dialog exactly as the walk over the loaded tree:
// the same hits in the same order.
TEST(IndexSearchTest, SameHitsAsTheFullSearchForEveryOption) {
    const std::unique_ptr<catalog::CCD> cd = TrickyDisc();
    const std::string body = DiscIndex::Encode(*cd);
    const std::optional<DiscIndex> index = DiscIndex::Decode(body);
    ASSERT_TRUE(index);

    const std::string texts[] = {"setup",
                                 "SETUP",
                                 "Setup",
                                 "*.txt",
                                 "a",
                                 "A",
                                 "txt memo",
                                 "\x81\x41",
                                 "\x81\x61",
                                 "\\",
                                 "*",
                                 "b*c",
                                 "",
                                 "  ",
                                 "exe setup",
                                 "read me",
                                 "memo",
                                 text::Local("珍藏"),
                                 text::Local("照片 jpg"),
                                 "x.txt",
                                 "zzz",
                                 "AAA"};
    const int targetSets[] = {kFileName,      kFileMemo, kFolderName, kFolderMemo, kFileName | kFolderMemo,
                              kContentTargets};
    int compared = 0;
    int withHits = 0;
    for (const std::string& text : texts) {
        for (const int targets : targetSets) {
            for (const bool partMatch : {true, false}) {
                for (const bool caseSensitive : {false, true}) {
                    for (const bool readme : {false, true}) {
                        FindCriteria criteria;
                        criteria.text = text;
                        criteria.targets = targets;
                        criteria.partMatch = partMatch;
                        criteria.caseSensitive = caseSensitive;
                        criteria.readme = readme;
                        SCOPED_TRACE(testing::Message()
                                     << "'" << text::ToUtf8(text) << "' targets " << targets << " part "
                                     << partMatch << " case " << caseSensitive << " readme " << readme);
                        const std::vector<std::string> full = FullHits(*cd, criteria);
                        EXPECT_EQ(IndexHits(*index, criteria), full);
                        ++compared;
                        withHits += full.empty() ? 0 : 1;
                    }
                }
            }
        }
    }
    EXPECT_GT(withHits, compared / 4) << "the table must exercise hits, not only misses";
}

TEST(IndexSearchTest, HitLinesFollowTheFolderPathRules) {
    const std::unique_ptr<catalog::CCD> cd = TrickyDisc();
    const std::optional<DiscIndex> index = DiscIndex::Decode(DiscIndex::Encode(*cd));
    ASSERT_TRUE(index);
    FindCriteria criteria;
    criteria.text = "setup";
    criteria.targets = kContentTargets;
    EXPECT_EQ(IndexHits(*index, criteria),
              (std::vector<std::string>{"P\\D\\Setup.EXE", "P\\D\\setup.exe.bak", "P\\D\\\\Setup folder",
                                        "P\\D\\Docs\\Sub A\\x.txt\\deep SETUP.txt"}))
        << "the folder without a name sorts first";
}

TEST(IndexSearchTest, StopsWhenTheRunningFlagDrops) {
    auto cd = std::make_unique<catalog::CCD>();
    for (int i = 0; i < 10000; ++i) AddFile(*cd, "f" + std::to_string(i));
    const std::optional<DiscIndex> index = DiscIndex::Decode(DiscIndex::Encode(*cd));
    ASSERT_TRUE(index);
    FindCriteria criteria;
    criteria.text = "f";
    const std::atomic<bool> running{false};
    const FindContext context(criteria, running, nullptr);
    CollectedHits hits;
    EXPECT_FALSE(SearchIndexedScanObject(*index, "P", context, hits, nullptr));
    EXPECT_TRUE(hits.lines.empty());
}

// Every cut of a body and every flipped byte is either refused or decoded into an index whose
// accessors stay inside it (what the fuzz target checks at large).
TEST(DiscIndexTest, DamagedBodiesAreRefusedOrStayInBounds) {
    const std::string body = DiscIndex::Encode(*TrickyDisc());
    for (std::size_t cut = 0; cut < body.size(); ++cut)
        EXPECT_FALSE(DiscIndex::Decode(std::span<const char>(body.data(), cut))) << "cut at " << cut;
    for (std::size_t at = 0; at < body.size(); ++at) {
        std::string changed = body;
        changed[at] = static_cast<char>(changed[at] ^ 0x5A);
        if (const std::optional<DiscIndex> index = DiscIndex::Decode(changed)) {
            for (std::uint32_t i = 0; i < index->ItemCount(); ++i)
                EXPECT_LE(index->Name(i).size(), changed.size());
            for (std::size_t k = 0; k < index->MemoItems().size(); ++k)
                EXPECT_LT(index->MemoItems()[k], index->ItemCount());
        }
    }
}

TEST(DiscIndexTest, PackedFilesOnlyOpenForTheirOwnStampAndUndamaged) {
    const std::string body = DiscIndex::Encode(*TrickyDisc());
    const catalog::DiscFileStamp stamp{1, 42, 1000, 1'700'000'000'123'456'789};
    const std::string packed = DiscIndex::Pack(stamp, body);
    const auto bytes = [](const std::string& s) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    };
    ASSERT_FALSE(packed.empty());
    EXPECT_EQ(DiscIndex::PeekStamp(bytes(packed)), stamp);
    const std::optional<DiscIndex> index = DiscIndex::Unpack(bytes(packed), stamp);
    ASSERT_TRUE(index);
    EXPECT_EQ(index->Readme(), "Read ME first \x81\x41 notes");

    for (const catalog::DiscFileStamp& other : {catalog::DiscFileStamp{0, 42, 1000, stamp.modifiedNs},
                                                catalog::DiscFileStamp{1, 43, 1000, stamp.modifiedNs},
                                                catalog::DiscFileStamp{1, 42, 1001, stamp.modifiedNs},
                                                catalog::DiscFileStamp{1, 42, 1000, stamp.modifiedNs + 1}}) {
        EXPECT_FALSE(DiscIndex::Unpack(bytes(packed), other)) << "stale: another version of the disc file";
    }
    std::string flipped = packed;
    flipped[flipped.size() - 6] = static_cast<char>(flipped[flipped.size() - 6] ^ 1);
    EXPECT_FALSE(DiscIndex::Unpack(bytes(flipped), stamp)) << "the checksum catches a changed byte";
    EXPECT_FALSE(DiscIndex::Unpack(bytes(packed.substr(0, packed.size() - 1)), stamp));
    EXPECT_FALSE(DiscIndex::Unpack(bytes(packed.substr(0, 20)), stamp));
    EXPECT_FALSE(DiscIndex::Unpack(bytes(""), stamp));
}

}  // namespace
}  // namespace pelko::search
