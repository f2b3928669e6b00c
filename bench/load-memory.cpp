// Loads a disc file and prints the heap the loaded tree takes, in bytes per file record beyond
// the heap blocks that hold the names and memos themselves.
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "catalog/CCD.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"

namespace {

class StderrLog final : public pelko::catalog::MessageLog {
public:
    void Post(pelko::catalog::MessageKind, std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
};

// Heap bytes a name holds outside its record: its block (a 4-byte length and the bytes) plus
// the allocator's header, rounded up as glibc does (16-byte granules, 8 bytes of header).
std::size_t HeapBytes(const pelko::text::PackedString& s) {
    if (s.empty()) return 0;
    const std::size_t request = 4 + s.size();
    return std::max<std::size_t>(32, (request + 8 + 15) & ~std::size_t{15});
}

void CountNames(const pelko::catalog::CDir& dir, std::size_t& nameBytes, std::size_t& files) {
    nameBytes += HeapBytes(dir.m_strName) + HeapBytes(dir.m_strMemo);
    for (const auto& f : dir.Files()) {
        nameBytes += HeapBytes(f->m_strName) + HeapBytes(f->m_strMemo);
        ++files;
    }
    for (const auto& d : dir.Subdirs()) CountNames(*d, nameBytes, files);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: load-memory DISC.pkb.zip\n");
        return 2;
    }
    StderrLog log;
    pelko::catalog::DiscStore store(".", log);
    const std::size_t before = mallinfo2().uordblks;
    auto cd = store.OpenPath(argv[1]);
    if (!cd) return 1;
    const std::size_t after = mallinfo2().uordblks;
    std::size_t nameBytes = 0;
    std::size_t files = 0;
    CountNames(*cd, nameBytes, files);
    const double perRecord =
        files ? static_cast<double>(after - before - nameBytes) / static_cast<double>(files) : 0;
    std::printf("records %zu heap %zu names %zu bytes-per-record %.1f\n", files, after - before, nameBytes,
                perRecord);
    return 0;
}
