// Merging another catalog, and adding disc files made elsewhere.

#include <functional>
#include <new>
#include <string>

#include "catalog/CPelkoDoc.h"
#include "catalog/CatalogMerge.h"
#include "catalog/DiscFileImport.h"
#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "shell/CatalogChanges.h"
#include "shell/CatalogEditor.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace {

// "合并光盘库完成：加入 3 张光盘、1 个类别" and what went wrong, in model bytes.
std::string MergeSummary(const catalog::MergeCounts& counts, const catalog::DiskFolderCopy& copy) {
    std::string summary = "合并光盘库完成：加入 " + std::to_string(counts.entries) + " 张光盘、" +
                          std::to_string(counts.categories) + " 个类别";
    if (!copy.failed.empty()) summary += "；" + std::to_string(copy.failed.size()) + " 个文件复制失败";
    if (counts.leftOut > 0) summary += "，" + std::to_string(counts.leftOut) + " 张光盘因此没有合并";
    return text::Local(summary);
}

}  // namespace

bool CatalogEditor::Merge() {
    if (m_busy.Refuses(kMergeGuard, Log())) return false;
    const std::optional<std::filesystem::path> folder = Ui().ChooseFolder(
        text::Local("请选择另一个待合并的光盘库所在目录\n(待合并光盘库目录为pelko.pkb或tnk.dat所在目录)"));
    if (!folder) return false;
    if (!catalog::HoldsCatalogFile(*folder)) {
        Ui().ShowMessage(
            text::Local("待合并目录中没有包含pelko.pkb或tnk.dat，\n请选择pelko.pkb或tnk.dat所在目录"));
        return false;
    }
    const std::unique_ptr<catalog::CRootCategory> other = catalog::LoadOtherCatalog(*folder);
    if (!other) {
        Ui().ShowMessage(
            text::Local("抱歉，打开待合并光盘库遇到问题，无法合并，\n请使用导入光盘文件的方法合并光盘库"));
        return false;
    }
    // The disc files come first, so that no entry is filed whose disc file did not arrive.
    const catalog::DiskFolderCopy copy = catalog::CopyOtherDiskFolder(*folder / "Disk", m_discs.DiskFolder(), Log());
    catalog::MergeCounts counts;
    try {
        catalog::MergeCategory(*other, *m_doc.Root(), Log(), Ui(), copy.MissingDiscFiles(m_discs.DiskFolder()),
                               counts);
    } catch (const std::bad_alloc&) {
        // What was merged so far stays: every object added is complete and owned once.
        Ui().ShowMessage(text::Local("内存不足!"));
    }
    Log().Post(catalog::MessageKind::Result, MergeSummary(counts, copy));
    // Additions spread over the whole tree: the views read it again.
    if (counts.entries + counts.categories > 0 && m_changes) m_changes->Reset();
    return true;
}

int CatalogEditor::AddDiscFiles() {
    return ImportDiscFiles([](catalog::DiscFileImport& import) { return import.Run(); });
}

int CatalogEditor::AddDiscFiles(std::span<const std::filesystem::path> files) {
    return ImportDiscFiles([files](catalog::DiscFileImport& import) { return import.AddFiles(files); });
}

int CatalogEditor::ImportDiscFiles(const std::function<int(catalog::DiscFileImport&)>& run) {
    if (m_busy.Refuses(kAddDiscFilesGuard, Log())) return 0;
    catalog::DiscFileImport import(*m_doc.Root(), m_discs, Log(), Ui());
    import.ReportAddedTo([this](catalog::CDiskInfo& entry) {
        if (m_changes) m_changes->Added(&entry, entry.m_pCategory);
    });
    return run(import);
}

}  // namespace pelko::shell
