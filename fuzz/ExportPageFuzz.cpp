// Exports a disc record read from memory as a page, in both layouts with memos, and checks that
// no name or memo on the disc can open an element of its own: every "<" in the listing must
// start one of the few tags the export itself writes.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "export/PageBuilder.h"

namespace {

bool OnlyOwnTags(std::string_view page) {
    static constexpr std::string_view kOwn[] = {"<br>", "<b>", "</b>", "<font ", "</font>", "<p>", "</p>"};
    constexpr std::string_view kBody = "<body>";
    const std::size_t body = page.find(kBody);
    if (body == std::string_view::npos) return false;
    for (std::size_t at = page.find('<', body + kBody.size()); at != std::string_view::npos;
         at = page.find('<', at + 1)) {
        bool known = page.substr(at).starts_with("</body>") || page.substr(at).starts_with("</html>");
        for (const std::string_view tag : kOwn) known = known || page.substr(at).starts_with(tag);
        if (!known) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelko;
    catalog::CCD cd;
    try {
        catalog::CArchive ar({data, size});
        cd.Serialize(ar);
    } catch (const catalog::ArchiveError&) {
        return 0;
    }
    catalog::CCategory category;
    category.m_strName = cd.m_strVolumeLabel;  // outside bytes in the heading too
    catalog::CDiskInfo entry;
    entry.m_pCategory = &category;
    entry.m_strName = cd.m_strFileSystem;
    const std::atomic<bool> running{true};
    for (const bool tree : {true, false}) {
        exporting::ExportOptions options;
        options.format = exporting::ExportFormat::Html;
        options.style.tree = tree;
        options.style.memo = true;
        const std::optional<std::string> page =
            exporting::BuildEntryFile(entry, cd, options, running, nullptr);
        if (!page || !OnlyOwnTags(*page)) __builtin_trap();
        options.format = exporting::ExportFormat::Text;
        if (!exporting::BuildEntryFile(entry, cd, options, running, nullptr)) __builtin_trap();
    }
    return 0;
}
