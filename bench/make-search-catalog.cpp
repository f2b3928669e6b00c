// Generates the search benchmark's catalog: DISCS scan objects of FILES files each (100 folders
// of files, two levels deep), spread over CATEGORIES categories (default ten), disc files zipped
// at rest as the program keeps them; and beside it, for the public tools, a plain listing of the
// same catalog paths, one per line, in the same GB18030 bytes. Every 1000th file name holds the
// word "珍藏". bench/desktop.sh uses it for a catalog of many small scan objects.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "text/Codec.h"

namespace {

using namespace pelko;

class StderrLog final : public catalog::MessageLog {
public:
    void Post(catalog::MessageKind, std::string_view text) override {
        const std::string utf8 = text::ToUtf8(text);
        std::fprintf(stderr, "%s\n", utf8.c_str());
    }
};

class NoUi final : public catalog::UserInterface {
public:
    void ShowMessage(std::string_view text) override {
        std::fprintf(stderr, "%s\n", text::ToUtf8(text).c_str());
    }
    bool AskYesNo(std::string_view) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: make-search-catalog CATALOG_DIR LISTING_FILE DISCS FILES [CATEGORIES]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const long discs = std::atol(argv[3]);
    const long files = std::atol(argv[4]);
    const long categoryCount = argc == 6 ? std::atol(argv[5]) : 10;
    if (categoryCount < 1) {
        std::fprintf(stderr, "make-search-catalog: CATEGORIES must be at least 1\n");
        return 2;
    }
    StderrLog log;
    NoUi ui;
    catalog::CPelkoDoc doc(folder, log, ui);
    if (!doc.LoadCatalog()) return 1;
    catalog::DiscStore store(folder, log);
    std::ofstream listing(argv[2], std::ios::binary);

    const std::string words[] = {text::Local("照片"),
                                 text::Local("音乐"),
                                 "Setup",
                                 text::Local("文档"),
                                 text::Local("𠀀字"),
                                 "readme",
                                 text::Local("数据备份"),
                                 "photo"};
    const char* exts[] = {".txt", ".jpg", ".mp3", ".dat", ".iso", ".doc", ".zip", ""};
    const std::string needle = text::Local("珍藏");
    std::vector<catalog::CCategory*> categories(static_cast<std::size_t>(categoryCount));
    for (long c = 0; c < categoryCount; ++c) {
        categories[c] = doc.Root()->AddNewSubcategory(text::Local("测试类别") + std::to_string(c), log, ui);
        if (!categories[c]) return 1;
    }
    long serialFile = 0;
    for (long d = 0; d < discs; ++d) {
        catalog::CCategory& category = *categories[static_cast<std::size_t>(d % categoryCount)];
        const std::string name = text::Local("光盘") + std::to_string(d);
        catalog::CDiskInfo* entry = category.AddNewEntry(name, log);
        entry->m_strVolumeLabel = "BENCH";
        entry->m_dwVolumeSerial = static_cast<std::uint32_t>(d);
        auto cd = std::make_unique<catalog::CCD>();
        cd->m_strVolumeLabel = entry->m_strVolumeLabel;
        cd->m_dwVolumeSerial = entry->m_dwVolumeSerial;
        const std::string entryPath = catalog::EntryPath(*entry);
        const long folders = 100;
        for (long g = 0; g < folders / 10; ++g) {
            auto top = std::make_unique<catalog::CDir>();
            top->m_strName = words[g % 8] + std::to_string(g);
            catalog::CDir* topDir = cd->InsertSubdir(std::move(top));
            for (long h = 0; h < 10; ++h) {
                auto sub = std::make_unique<catalog::CDir>();
                sub->m_strName = text::Local("子目录") + std::to_string(h);
                catalog::CDir* dir = topDir->InsertSubdir(std::move(sub));
                const std::string dirPath =
                    entryPath + "\\" + topDir->m_strName.str() + "\\" + dir->m_strName.str();
                for (long f = 0; f < files / folders; ++f, ++serialFile) {
                    auto file = std::make_unique<catalog::CFileInfo>();
                    std::string fileName = words[(serialFile / 3) % 8] + "-" + std::to_string(serialFile);
                    if (serialFile % 1000 == 7) fileName += needle;
                    fileName += exts[serialFile % 8];
                    file->m_strName = fileName;
                    file->SetSize(static_cast<std::uint64_t>(serialFile * 37 % 100000));
                    file->m_ftTime = 132000000000000000ull + static_cast<std::uint64_t>(serialFile);
                    listing << dirPath << '\\' << fileName << '\n';
                    dir->InsertFile(std::move(file));
                }
            }
        }
        cd->RecomputeTotals();
        cd->m_dScanBytes = cd->m_dCurrentBytes;
        entry->CopyStatistics(*cd);
        cd->m_bModified = true;
        if (!store.Release(cd)) return 1;
    }
    return doc.SaveCatalog() ? 0 : 1;
}
