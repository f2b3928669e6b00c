// Saves and loads a generated catalog of ENTRIES scan-object entries in CATEGORIES categories
// through the catalog document, each next to the C library doing the same file work with the
// same bytes in the same process, timed the same way (best of five):
//   save: the catalog document's save  vs  fwrite of the saved bytes to a temporary file, fsync,
//         rename over the target and fsync of the folder (the durable-write floor);
//   load: the catalog document's load  vs  fread of the whole file (the read floor).
// Checks that the loaded tree holds every category and entry before it prints, and prints the
// heap of the loaded tree as measured by mallinfo2.
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"

namespace {

using namespace pelko::catalog;
namespace fs = std::filesystem;

constexpr int kRuns = 5;

class QuietLog final : public MessageLog {
public:
    void Post(MessageKind, std::string_view) override {}
};

class PrintingUi final : public UserInterface {
public:
    void ShowMessage(std::string_view text) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool AskYesNo(std::string_view) override { return false; }
};

struct Counts {
    long categories = 0;
    long entries = 0;
};

void Count(const CCategory& category, Counts& counts) {
    counts.entries += static_cast<long>(category.Entries().size());
    for (const auto& child : category.Subcategories()) {
        ++counts.categories;
        Count(*child, counts);
    }
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "catalog-bench: %s\n", what);
    std::exit(1);
}

// Best of kRuns milliseconds of `work`, which returns false when it failed.
double BestMs(const char* what, const std::function<bool()>& work) {
    double best = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (!work()) Fail(what);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (run == 0 || ms < best) best = ms;
    }
    return best;
}

bool ReadAll(const fs::path& path, std::vector<char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.resize(fs::file_size(path));
    const bool read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && read;
}

bool WriteDurably(const fs::path& target, const std::vector<char>& bytes) {
    const std::string temp = target.string() + ".tmp";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0 &&
              ::fsync(::fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok && std::rename(temp.c_str(), target.c_str()) == 0;
    const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    if (folder < 0) return false;
    ok = ::fsync(folder) == 0 && ok;
    ::close(folder);
    return ok;
}

void PrintRatio(const char* what, double ms, const char* partner, double partnerMs) {
    std::printf("%s %.2f ms / %s %.2f ms = %.2f (in-process, best of %d)\n", what, ms, partner, partnerMs,
                ms / partnerMs, kRuns);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: catalog-bench DIR ENTRIES CATEGORIES\n");
        return 2;
    }
    const fs::path folder = argv[1];
    const long entries = std::atol(argv[2]);
    const long categories = std::atol(argv[3]);
    if (entries <= 0 || categories <= 20) Fail("ENTRIES must be positive and CATEGORIES over 20");
    QuietLog log;
    PrintingUi ui;
    Counts saved;
    double saveMs = 0;
    {
        fs::remove_all(folder);
        CPelkoDoc doc(folder, log, ui);
        if (!doc.LoadCatalog()) Fail("cannot create the catalog");
        std::vector<CCategory*> made;
        for (long c = 0; c < categories; ++c) {
            CCategory* parent = c < 20 ? doc.Root() : made[static_cast<std::size_t>(c % 20)];
            made.push_back(parent->AddNewSubcategory("category " + std::to_string(c), log, ui));
            if (!made.back()) Fail("cannot add a category");
        }
        for (long e = 0; e < entries; ++e) {
            CDiskInfo* entry =
                made[static_cast<std::size_t>(e % categories)]->AddNewEntry("disc " + std::to_string(e), log);
            if (!entry) Fail("cannot add an entry");
            entry->m_strVolumeLabel = "LABEL" + std::to_string(e);
            entry->m_dwVolumeSerial = static_cast<std::uint32_t>(e * 7919);
            entry->m_strMemo = e % 3 == 0 ? "a memo about this disc" : "";
            entry->m_nFileCount = static_cast<std::uint32_t>(e);
        }
        for (int h = 0; h < 20; ++h) doc.History().Add("search " + std::to_string(h));
        Count(*doc.Root(), saved);
        if (saved.entries < entries || saved.categories < categories) Fail("the generated tree is short");
        saveMs = BestMs("the catalog save failed", [&] { return doc.SaveCatalog(); });
    }

    const fs::path catalogFile = folder / CPelkoDoc::kCatalogFile;
    std::vector<char> bytes;
    if (!ReadAll(catalogFile, bytes) || bytes.empty()) Fail("no catalog file was written");
    const double writeMs =
        BestMs("the stdio write failed", [&] { return WriteDurably(folder / "stdio-copy.dat", bytes); });

    std::size_t heap = 0;
    const double loadMs = BestMs("the catalog load failed", [&] {
        const std::size_t before = mallinfo2().uordblks;
        CPelkoDoc doc(folder, log, ui);
        if (!doc.LoadCatalog()) return false;
        heap = mallinfo2().uordblks - before;
        Counts loaded;
        Count(*doc.Root(), loaded);
        if (loaded.entries != saved.entries || loaded.categories != saved.categories) {
            std::fprintf(stderr, "catalog-bench: loaded %ld categories and %ld entries of %ld and %ld\n",
                         loaded.categories, loaded.entries, saved.categories, saved.entries);
            return false;
        }
        return true;
    });
    std::vector<char> again;
    const double readMs = BestMs("the stdio read failed", [&] { return ReadAll(catalogFile, again); });
    if (again != bytes) Fail("the stdio read differs from the file");

    std::printf("catalog file: %ld categories, %ld entries, %zu bytes\n", saved.categories, saved.entries,
                bytes.size());
    PrintRatio("catalog save", saveMs, "stdio write + fsync + rename of the same bytes", writeMs);
    PrintRatio("catalog load", loadMs, "stdio read of the same bytes", readMs);
    std::printf("loaded catalog heap: %zu bytes = %.1f bytes per entry (measured: mallinfo2 before and after)\n",
                heap, static_cast<double>(heap) / static_cast<double>(saved.entries));
    return 0;
}
