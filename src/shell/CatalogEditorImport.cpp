// Merging another catalog, and adding disc files made elsewhere.

#include <new>

#include "catalog/CPelkoDoc.h"
#include "catalog/CatalogMerge.h"
#include "catalog/DiscFileImport.h"
#include "catalog/DiscStore.h"
#include "catalog/UserInterface.h"
#include "shell/CatalogEditor.h"
#include "text/Codec.h"

namespace pelko::shell {

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
    try {
        catalog::MergeCategory(*other, *m_doc.Root(), Log(), Ui());
    } catch (const std::bad_alloc&) {
        // What was merged so far stays: every object added is complete and owned once.
        Ui().ShowMessage(text::Local("内存不足!"));
    }
    catalog::CopyOtherDiskFolder(*folder / "Disk", m_discs.DiskFolder());
    return true;
}

int CatalogEditor::AddDiscFiles() {
    if (m_busy.Refuses(kAddDiscFilesGuard, Log())) return 0;
    catalog::DiscFileImport import(*m_doc.Root(), m_discs, Log(), Ui());
    return import.Run();
}

}  // namespace pelko::shell
