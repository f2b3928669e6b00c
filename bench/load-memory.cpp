// Loads a disc file and prints the heap the loaded tree takes per file record beyond the heap
// blocks of the names and memos themselves. Both are measured with mallinfo2 (bytes in use on
// the main arena, allocator headers included): once after the load, and again after every name
// and memo of the tree has been freed.
#include <malloc.h>

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

// Frees every name and memo below `dir`; counts the file records.
void FreeNames(pelko::catalog::CDir& dir, std::size_t& files) {
    dir.m_strName.clear();
    dir.m_strMemo.clear();
    for (const auto& f : dir.Files()) {
        f->m_strName.clear();
        f->m_strMemo.clear();
        ++files;
    }
    for (const auto& d : dir.Subdirs()) FreeNames(*d, files);
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
    const std::size_t loaded = mallinfo2().uordblks - before;
    std::size_t files = 0;
    FreeNames(*cd, files);
    const std::size_t withoutNames = mallinfo2().uordblks - before;
    if (files == 0) {
        std::fprintf(stderr, "load-memory: %s holds no file records\n", argv[1]);
        return 1;
    }
    std::printf("%.1f bytes per file record beyond its names (measured with mallinfo2: %zu records, heap %zu "
                "bytes, of which names and memos %zu)\n",
                static_cast<double>(withoutNames) / static_cast<double>(files), files, loaded, loaded - withoutNames);
    return 0;
}
