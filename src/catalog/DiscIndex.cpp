#include "catalog/DiscIndex.h"

#include <sys/stat.h>
#include <zstd.h>

#include <cstring>

#include "catalog/CCD.h"

namespace pelko::catalog {

namespace {

// Header: magic, format version, the stamp, the body's size; then the zstd frame.
constexpr std::string_view kMagic = "PKIX";
constexpr std::uint8_t kFormat = 2;
// Names and memos compress well; a higher level costs more when writing but nothing when
// reading (zstd decodes at the same speed whatever the level).
constexpr int kCompressionLevel = 9;
// No disc holds a body near this; a header claiming more is damaged.
constexpr std::uint64_t kMaxBodyBytes = std::uint64_t{1} << 31;

void PutVarint(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t GetLe(std::span<const std::uint8_t> in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint64_t{in[at + i]} << (8 * i);
    return value;
}

// Reads the body front to back; every read is bounded, and a failed read leaves it failed.
class BodyReader {
public:
    explicit BodyReader(std::span<const char> body) : m_body(body) {}

    bool Failed() const { return m_failed; }
    std::size_t Remaining() const { return m_body.size() - m_at; }
    bool AtEnd() const { return !m_failed && m_at == m_body.size(); }

    // A varint no larger than `limit`.
    std::uint32_t Count(std::uint64_t limit) {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (m_failed || m_at == m_body.size()) break;
            const auto byte = static_cast<std::uint8_t>(m_body[m_at++]);
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if ((byte & 0x80) == 0) {
                if (value <= limit) return static_cast<std::uint32_t>(value);
                break;
            }
        }
        m_failed = true;
        return 0;
    }

    std::string_view Bytes(std::size_t count) {
        if (m_failed || count > Remaining()) {
            m_failed = true;
            return {};
        }
        const std::string_view bytes(m_body.data() + m_at, count);
        m_at += count;
        return bytes;
    }

private:
    std::span<const char> m_body;
    std::size_t m_at = 0;
    bool m_failed = false;
};

constexpr std::uint64_t kMaxCount = 0xFFFFFFFE;  // item numbers stay below kNoParent

struct RunBuilder {
    std::string runs;
    std::string nameLengths;
    std::string names;
    std::string memos;  // (gap, length) pairs
    std::string memoText;
    std::uint64_t runCount = 0;
    std::uint64_t itemCount = 0;
    std::uint64_t memoCount = 0;
    std::uint64_t lastMemoItem = 0;

    void AddItem(std::string_view name, std::string_view memo) {
        PutVarint(nameLengths, name.size());
        names.append(name);
        if (!memo.empty()) {
            PutVarint(memos, itemCount - lastMemoItem);
            PutVarint(memos, memo.size());
            memoText.append(memo);
            lastMemoItem = itemCount + 1;
            ++memoCount;
        }
        ++itemCount;
    }

    // One run per folder in pre-order, as a search walks them. Which folder item a run stands
    // for follows from that order, so it is not stored.
    void AddFolder(const CDir& dir) {
        ++runCount;
        PutVarint(runs, dir.Files().size());
        PutVarint(runs, dir.Subdirs().size());
        for (const auto& file : dir.Files()) AddItem(file->m_strName.view(), file->m_strMemo.view());
        for (const auto& sub : dir.Subdirs()) AddItem(sub->m_strName.view(), sub->m_strMemo.view());
        for (const auto& sub : dir.Subdirs()) AddFolder(*sub);
    }
};

}  // namespace

std::string DiscIndex::Encode(const CCD& contents) {
    RunBuilder builder;
    builder.AddFolder(contents);
    std::string body;
    body.reserve(contents.m_strReadme.size() + builder.runs.size() + builder.nameLengths.size() +
                 builder.names.size() + builder.memos.size() + builder.memoText.size() + 32);
    PutVarint(body, contents.m_strReadme.size());
    body.append(contents.m_strReadme);
    PutVarint(body, builder.runCount);
    body.append(builder.runs);
    body.append(builder.nameLengths);
    body.append(builder.names);
    PutVarint(body, builder.memoCount);
    body.append(builder.memos);
    body.append(builder.memoText);
    return body;
}

std::optional<DiscIndex> DiscIndex::Decode(std::span<const char> body) {
    auto owned = std::make_shared_for_overwrite<char[]>(body.size());
    if (!body.empty()) std::memcpy(owned.get(), body.data(), body.size());
    return DecodeOwned(std::move(owned), body.size());
}

std::optional<DiscIndex> DiscIndex::DecodeOwned(std::shared_ptr<const char[]> body, std::size_t size) {
    DiscIndex index;
    index.m_body = std::move(body);
    BodyReader in(std::span<const char>(index.m_body.get(), size));

    index.m_readme = in.Bytes(in.Count(kMaxBodyBytes));
    // Each run takes at least two bytes, each item at least one (its name's length).
    const std::uint32_t runCount = in.Count(in.Remaining() / 2);
    if (in.Failed() || runCount == 0) return std::nullopt;  // a tree has at least its root
    index.m_runs.reserve(runCount);
    std::uint64_t items = 0;
    for (std::uint32_t r = 0; r < runCount; ++r) {
        const std::uint32_t files = in.Count(kMaxCount);
        const std::uint32_t folders = in.Count(kMaxCount);
        if (in.Failed()) return std::nullopt;
        index.m_runs.push_back({kNoParent, static_cast<std::uint32_t>(items), files, folders});
        items += std::uint64_t{files} + folders;
        if (items > kMaxCount || items > in.Remaining()) return std::nullopt;
    }
    // The runs after the root are the folder items in the order of a pre-order walk: each
    // folder item is entered, as the next run, right after its parent's run or the subtree of
    // its elder sibling. Every folder item needs exactly one run and every run but the root one.
    {
        std::vector<std::uint32_t> pending;  // folder items still to be entered, as a stack
        std::size_t next = 1;
        auto push = [&](const Run& run) {
            for (std::uint32_t i = run.folderCount; i > 0; --i)
                pending.push_back(run.firstItem + run.fileCount + i - 1);
        };
        push(index.m_runs[0]);
        while (!pending.empty()) {
            if (next == index.m_runs.size()) return std::nullopt;
            index.m_runs[next].parentItem = pending.back();
            pending.pop_back();
            push(index.m_runs[next++]);
        }
        if (next != index.m_runs.size()) return std::nullopt;
    }
    index.m_nameOffsets.resize(items + 1);
    std::uint64_t nameBytes = 0;
    for (std::uint64_t i = 0; i < items; ++i) {
        index.m_nameOffsets[i] = static_cast<std::uint32_t>(nameBytes);
        nameBytes += in.Count(kMaxCount);
        if (nameBytes > kMaxCount) return std::nullopt;
    }
    index.m_nameOffsets[items] = static_cast<std::uint32_t>(nameBytes);
    index.m_names = in.Bytes(nameBytes);

    const std::uint32_t memoCount = in.Count(std::min<std::uint64_t>(items, in.Remaining() / 2));
    if (in.Failed()) return std::nullopt;
    index.m_memoItems.resize(memoCount);
    index.m_memoOffsets.resize(std::size_t{memoCount} + 1);
    std::uint64_t item = 0;
    std::uint64_t memoBytes = 0;
    for (std::uint32_t k = 0; k < memoCount; ++k) {
        item += in.Count(kMaxCount);
        if (item >= items) return std::nullopt;
        index.m_memoItems[k] = static_cast<std::uint32_t>(item++);
        index.m_memoOffsets[k] = static_cast<std::uint32_t>(memoBytes);
        memoBytes += in.Count(kMaxCount);
        if (memoBytes > kMaxCount) return std::nullopt;
    }
    index.m_memoOffsets[memoCount] = static_cast<std::uint32_t>(memoBytes);
    index.m_memos = in.Bytes(memoBytes);
    if (!in.AtEnd()) return std::nullopt;
    return index;
}

std::string DiscIndex::Pack(const DiscFileStamp& stamp, std::string_view body) {
    std::string file;
    file.append(kMagic);
    file.push_back(static_cast<char>(kFormat));
    file.push_back(static_cast<char>(stamp.copy));
    PutLe(file, stamp.inode, 8);
    PutLe(file, stamp.size, 8);
    PutLe(file, static_cast<std::uint64_t>(stamp.modifiedNs), 8);
    PutLe(file, body.size(), 8);
    const std::size_t bound = ZSTD_compressBound(body.size());
    file.resize(kHeaderBytes + bound);
    const std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> context(ZSTD_createCCtx(), &ZSTD_freeCCtx);
    if (!context) return {};
    ZSTD_CCtx_setParameter(context.get(), ZSTD_c_compressionLevel, kCompressionLevel);
    ZSTD_CCtx_setParameter(context.get(), ZSTD_c_checksumFlag, 1);
    const std::size_t written =
        ZSTD_compress2(context.get(), file.data() + kHeaderBytes, bound, body.data(), body.size());
    if (ZSTD_isError(written)) return {};
    file.resize(kHeaderBytes + written);
    return file;
}

std::optional<DiscFileStamp> DiscIndex::PeekStamp(std::span<const std::uint8_t> file) {
    if (file.size() < kHeaderBytes || std::memcmp(file.data(), kMagic.data(), kMagic.size()) != 0 ||
        file[4] != kFormat) {
        return std::nullopt;
    }
    DiscFileStamp stamp;
    stamp.copy = file[5];
    stamp.inode = GetLe(file, 6, 8);
    stamp.size = GetLe(file, 14, 8);
    stamp.modifiedNs = static_cast<std::int64_t>(GetLe(file, 22, 8));
    return stamp;
}

std::optional<DiscIndex> DiscIndex::Unpack(std::span<const std::uint8_t> file,
                                           const DiscFileStamp& expected) {
    const std::optional<DiscFileStamp> stamp = PeekStamp(file);
    if (!stamp || *stamp != expected) return std::nullopt;
    const std::uint64_t bodyBytes = GetLe(file, 30, 8);
    const std::span<const std::uint8_t> frame = file.subspan(kHeaderBytes);
    if (bodyBytes > kMaxBodyBytes || ZSTD_getFrameContentSize(frame.data(), frame.size()) != bodyBytes)
        return std::nullopt;
    // Decoded into a buffer the index then keeps, so nothing is copied twice.
    auto body = std::make_shared_for_overwrite<char[]>(bodyBytes);
    const std::size_t got = ZSTD_decompress(body.get(), bodyBytes, frame.data(), frame.size());
    if (ZSTD_isError(got) || got != bodyBytes) return std::nullopt;
    return DecodeOwned(std::move(body), bodyBytes);
}

std::optional<DiscFileStamp> StampOf(const std::filesystem::path& file, std::uint8_t copy) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    DiscFileStamp stamp;
    stamp.copy = copy;
    stamp.inode = st.st_ino;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace pelko::catalog
