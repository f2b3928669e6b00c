// The description text the properties window shows for one selected object.

#include "catalog/CCD.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/Statistics.h"
#include "catalog/UserInterface.h"
#include "shell/CatalogBrowser.h"
#include "text/Codec.h"

namespace pelko::shell {

std::optional<std::string> CatalogBrowser::DescriptionOf(std::span<const CatalogObject> selection) {
    if (selection.empty()) return std::nullopt;
    if (selection.size() > 1) {
        Ui().ShowMessage(text::Local("选择的对象太多，请选择一个对象以查看其属性"));
        return std::nullopt;
    }
    return std::visit(
        Overloaded{
            [](catalog::CCategory* category) { return std::optional(catalog::CategoryDescription(*category)); },
            [](catalog::CDiskInfo* entry) { return std::optional(catalog::EntryDescription(*entry)); },
            [](catalog::CDir* dir) {
                // The open scan object's own node is its disc.
                if (const catalog::CCD* cd = dir->AsCD()) return std::optional(catalog::DiscDescription(*cd));
                return std::optional(catalog::FolderDescription(*dir));
            },
            [](catalog::CFileInfo* file) { return std::optional(catalog::FileDescription(*file)); },
            [](ReadmeRow) { return std::optional<std::string>(); },
        },
        selection.front());
}

}  // namespace pelko::shell
