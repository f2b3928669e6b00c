#include "export/HelpPages.h"

#include <system_error>

#include "catalog/MessageLog.h"
#include "catalog/UserInterface.h"
#include "export/DocumentOpener.h"
#include "export/ExportPaths.h"
#include "export/Templates.h"
#include "platform/AtomicFile.h"
#include "text/Codec.h"

namespace pelko::exporting {

namespace fs = std::filesystem;

std::string_view HelpPageFileName(HelpPage page) { return page == HelpPage::Help ? "help.htm" : "faq.htm"; }

std::optional<fs::path> WriteHelpPage(const fs::path& catalogFolder, HelpPage page,
                                      catalog::UserInterface& ui) {
    const std::optional<std::string_view> bytes =
        TemplateBytes(page == HelpPage::Help ? kHelpTemplate : kFaqTemplate);
    if (!bytes) {
        ui.ShowMessage("Template error");
        return std::nullopt;
    }
    const fs::path file = catalogFolder / HelpPageFileName(page);
    if (!platform::ReplaceFileContent(file, *bytes)) {
        ui.ShowMessage(
            text::Local(page == HelpPage::Help ? "写帮助文件时候发生错误" : "写常见问题解答faq.htm发生错误"));
        return std::nullopt;
    }
    return file;
}

void ShowHelpPage(const fs::path& catalogFolder, HelpPage page, catalog::UserInterface& ui,
                  catalog::MessageLog& log, DocumentOpener& opener) {
    const std::optional<fs::path> file = WriteHelpPage(catalogFolder, page, ui);
    if (!file || opener.Open(*file)) return;
    log.Post(catalog::MessageKind::Error,
             text::Local(page == HelpPage::Help
                             ? "打开帮助文件失败，请检查文件help.htm是否存在本软件的安装目录下"
                             : "打开常见问题解答faq.htm失败，请检查文件faq.htm是否存在本软件的安装目录下"));
}

void BrowseExport(const fs::path& catalogFolder, const catalog::CCategory& root, catalog::UserInterface& ui,
                  DocumentOpener& opener) {
    CreateCategoryFolders(catalogFolder, root);
    const fs::path index = CategoryFolder(catalogFolder, root) / kIndexPage;
    std::error_code ec;
    if (!fs::exists(index, ec)) {
        ui.ShowMessage(text::Local("尚未进行网页文件的导出，因此不能浏览"));
        return;
    }
    opener.Open(index);
}

void OpenExportFolder(const fs::path& catalogFolder, const catalog::CCategory& root, DocumentOpener& opener) {
    CreateCategoryFolders(catalogFolder, root);
    opener.Open(CategoryFolder(catalogFolder, root));
}

}  // namespace pelko::exporting
