#include "cli/TreeCommand.h"

#include <ostream>

#include "catalog/CCategory.h"
#include "catalog/Statistics.h"
#include "cli/CatalogSession.h"
#include "text/Codec.h"

namespace pelko::cli {

namespace {

std::string_view KindWord(std::uint8_t kind) {
    switch (kind) {
        case 0:
            return "光盘";
        case 1:
            return "硬盘";
        case 2:
            return "硬盘目录";
        default:
            return "?";
    }
}

void PrintCategory(std::ostream& out, const catalog::CCategory& category, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    out << indent << TerminalText(category.m_strName) << "/\n";
    for (const auto& sub : category.Subcategories()) PrintCategory(out, *sub, depth + 1);
    for (const auto& entry : category.Entries()) {
        out << indent << "  * " << TerminalText(entry->m_strName) << "  [" << KindWord(entry->m_nKind) << ", "
            << (entry->IsOldVersion() ? std::string("?") : TerminalText(catalog::EntrySizeText(*entry)))
            << "]\n";
    }
}

}  // namespace

int TreeCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    CatalogSession session(context);
    if (!session.Open()) return kExitFailure;
    PrintCategory(context.out, session.Root(), 0);
    return session.SaveIfModified() ? kExitOk : kExitFailure;
}

}  // namespace pelko::cli
