#include "shell/FindDialogModel.h"

#include "catalog/CFindHistory.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/UserInterface.h"
#include "shell/AppSettings.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::shell {

using search::kCatalogTargets;
using search::kContentTargets;

FindDialogModel::FindDialogModel(const AppSettings& settings, const catalog::CFindHistory& history,
                                 FindScope preselected, catalog::CCategory& root)
    : text(settings.fwFilter),
      historyList(history.Strings()),
      includeSubcategories(!settings.fwCurCategory),
      checkReadme(settings.fwCheckReadMe),
      wholeMatch(!settings.fwPartMatch),
      caseSensitive(settings.fwCase),
      m_selected(preselected.IsEmpty() ? FindScope::Category(root) : preselected) {
    checkedTargets = settings.fwFindWhat & kContentTargets;
    if (m_selected.IsCategory()) checkedTargets |= settings.fwFindWhat & kCatalogTargets;
}

void FindDialogModel::CheckAllTargets(bool checked) {
    const int visible = CatalogTargetsVisible() ? kContentTargets | kCatalogTargets : kContentTargets;
    checkedTargets = checked ? (checkedTargets | visible) : (checkedTargets & ~visible);
}

void FindDialogModel::ClearHistory(catalog::CPelkoDoc& doc) {
    doc.History().Clear();
    doc.SetModified();
    historyList.clear();
    text.clear();
}

bool FindDialogModel::Accept(catalog::UserInterface& ui, catalog::CFindHistory& history) {
    int mask = checkedTargets & kContentTargets;
    if (m_selected.IsCategory()) mask |= checkedTargets & kCatalogTargets;
    const std::string trimmed(text::Trim(text));
    if (trimmed.empty() && (mask & kContentTargets)) {
        ui.ShowMessage(text::Local("查找内容不能为空!"));
        return false;
    }
    history.Add(trimmed);
    historyList = history.Strings();
    if (m_selected.IsEmpty()) {
        ui.ShowMessage(text::Local("请选择类别或光盘"));
        return false;
    }
    if (mask & kCatalogTargets) checkReadme = false;
    m_criteria.text = trimmed;
    m_criteria.targets = mask;
    m_criteria.partMatch = !wholeMatch;
    m_criteria.caseSensitive = caseSensitive;
    m_criteria.onlyThisCategory = !includeSubcategories;
    m_criteria.readme = checkReadme;
    return true;
}

}  // namespace pelko::shell
