// Saves and loads a generated catalog of ENTRIES scan-object entries in CATEGORIES categories
// through the catalog document, and prints milliseconds for each and heap bytes per entry of
// the loaded tree.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalog/CPelkoDoc.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"

namespace {

using namespace pelko::catalog;

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

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: catalog-bench DIR ENTRIES CATEGORIES\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long entries = std::atol(argv[2]);
    const long categories = std::atol(argv[3]);
    QuietLog log;
    PrintingUi ui;
    {
        std::filesystem::remove_all(folder);
        CPelkoDoc doc(folder, log, ui);
        if (!doc.LoadCatalog()) return 1;
        std::vector<CCategory*> made;
        for (long c = 0; c < categories; ++c) {
            CCategory* parent = c < 20 ? doc.Root() : made[static_cast<std::size_t>(c % 20)];
            made.push_back(parent->AddNewSubcategory("category " + std::to_string(c), log, ui));
        }
        for (long e = 0; e < entries; ++e) {
            CDiskInfo* entry =
                made[static_cast<std::size_t>(e % categories)]->AddNewEntry("disc " + std::to_string(e), log);
            entry->m_strVolumeLabel = "LABEL" + std::to_string(e);
            entry->m_dwVolumeSerial = static_cast<std::uint32_t>(e * 7919);
            entry->m_strMemo = e % 3 == 0 ? "a memo about this disc" : "";
            entry->m_nFileCount = static_cast<std::uint32_t>(e);
        }
        for (int h = 0; h < 20; ++h) doc.History().Add("search " + std::to_string(h));
        const auto start = std::chrono::steady_clock::now();
        if (!doc.SaveCatalog()) return 1;
        std::printf("save %.1f ms (%ju bytes)\n", MillisecondsSince(start),
                    static_cast<std::uintmax_t>(std::filesystem::file_size(folder / "tnk.dat")));
    }
    const std::size_t before = mallinfo2().uordblks;
    const auto start = std::chrono::steady_clock::now();
    CPelkoDoc doc(folder, log, ui);
    if (!doc.LoadCatalog()) return 1;
    const double loadMs = MillisecondsSince(start);
    const std::size_t heap = mallinfo2().uordblks - before;
    std::printf("load %.1f ms, heap %zu bytes = %.1f bytes per entry\n", loadMs, heap,
                static_cast<double>(heap) / static_cast<double>(entries));
    return 0;
}
