#pragma once
// The search index of one disc file: every name and memo of its folder tree, and its readme,
// in the order a search walks them, kept beside the catalog so that a whole-catalog search
// answers without inflating and parsing the disc files.
//
// The walk order is a sequence of runs, one per folder in pre-order starting at the root: a
// run holds the folder's files, then its immediate sub-folders (the items). Which folder item a
// run stands for follows from that order and is derived when the index is read. Names are one
// contiguous block in item order, so a search can scan the block as a whole and check only the
// items it hits.
//
// On disk the index starts with the stamp of the disc file it was built from (which copy, its
// inode, size and modification time); an index whose stamp is not that of the disc file's
// current copy is stale and never used. The body is one zstd frame with a checksum, so a
// damaged index is refused, and its decoded layout is checked completely before use.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::catalog {

class CCD;

// Identifies one version of a disc file's current copy.
struct DiscFileStamp {
    std::uint8_t copy = 0;  // 0: the plain file, 1: its ZIP
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    friend bool operator==(const DiscFileStamp&, const DiscFileStamp&) = default;
};

class DiscIndex {
public:
    struct Run {
        std::uint32_t parentItem;  // the folder item this run's folder is; kNoParent for the root
        std::uint32_t firstItem;
        std::uint32_t fileCount;
        std::uint32_t folderCount;
    };
    static constexpr std::uint32_t kNoParent = 0xFFFFFFFF;
    // Bytes of an index file before its body: enough for PeekStamp.
    static constexpr std::size_t kHeaderBytes = 4 + 1 + 1 + 8 + 8 + 8 + 8;

    // The uncompressed body of a disc's index.
    static std::string Encode(const CCD& contents);
    // Checks and decodes a body; nullopt when it is not a well-formed one.
    static std::optional<DiscIndex> Decode(std::span<const char> body);

    // The whole index file: header with the stamp, then the compressed body.
    static std::string Pack(const DiscFileStamp& stamp, std::string_view body);
    // Unpacks and decodes an index file's bytes; nullopt when they are damaged or not of the
    // disc file version `expected`.
    static std::optional<DiscIndex> Unpack(std::span<const std::uint8_t> file, const DiscFileStamp& expected);
    // The stamp an index file's header names, without checking the body; nullopt when the
    // header is not one of ours.
    static std::optional<DiscFileStamp> PeekStamp(std::span<const std::uint8_t> file);

    std::string_view Readme() const { return m_readme; }
    std::span<const Run> Runs() const { return m_runs; }
    std::uint32_t ItemCount() const { return static_cast<std::uint32_t>(m_nameOffsets.size() - 1); }

    // All names in item order, back to back; item i is [NameOffsets()[i], NameOffsets()[i+1]).
    std::string_view NameBlock() const { return m_names; }
    std::span<const std::uint32_t> NameOffsets() const { return m_nameOffsets; }
    std::string_view Name(std::uint32_t item) const {
        return m_names.substr(m_nameOffsets[item], m_nameOffsets[item + 1] - m_nameOffsets[item]);
    }

    // The items that have a memo, ascending, with their memos back to back in that order.
    std::span<const std::uint32_t> MemoItems() const { return m_memoItems; }
    std::string_view MemoBlock() const { return m_memos; }
    std::span<const std::uint32_t> MemoOffsets() const { return m_memoOffsets; }
    std::string_view Memo(std::size_t k) const {
        return m_memos.substr(m_memoOffsets[k], m_memoOffsets[k + 1] - m_memoOffsets[k]);
    }

private:
    DiscIndex() = default;
    static std::optional<DiscIndex> DecodeOwned(std::shared_ptr<const char[]> body, std::size_t size);

    std::shared_ptr<const char[]> m_body;  // what the views below point into
    std::string_view m_readme;
    std::vector<Run> m_runs;
    std::string_view m_names;
    std::vector<std::uint32_t> m_nameOffsets;  // ItemCount() + 1
    std::vector<std::uint32_t> m_memoItems;
    std::string_view m_memos;
    std::vector<std::uint32_t> m_memoOffsets;  // memo count + 1
};

// The stamp of a file as it is now; nullopt when it cannot be read.
std::optional<DiscFileStamp> StampOf(const std::filesystem::path& file, std::uint8_t copy);

}  // namespace pelko::catalog
