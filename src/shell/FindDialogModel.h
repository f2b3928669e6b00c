#pragma once
// The find dialog without its widgets: what it shows when it opens, how its buttons change it,
// and the rules of its OK button. The dialog window binds its controls to the public fields,
// calls the operations on the matching events, and closes only when Accept returns true.

#include <string>
#include <vector>

#include "search/FindCriteria.h"
#include "shell/FindScope.h"

namespace pelko::catalog {
class CFindHistory;
class CPelkoDoc;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::shell {

struct AppSettings;

class FindDialogModel {
public:
    // Opens on the settings' values and on `preselected`; an empty one selects `root`. The
    // catalog target boxes are set from the mask only when a category is selected.
    FindDialogModel(const AppSettings& settings, const catalog::CFindHistory& history, FindScope preselected,
                    catalog::CCategory& root);

    std::string text;                      // the text box (model bytes), as typed
    std::vector<std::string> historyList;  // the drop-down list, newest first
    int checkedTargets = 0;                // check marks of the nine target boxes (FindTarget bits)
    bool includeSubcategories = true;      // "包括子目录(&S)"
    bool checkReadme = false;              // "搜索Readme(&R)"
    bool wholeMatch = false;               // "完全匹配(&M)"
    bool caseSensitive = false;            // "区分大小写(&C)"

    const FindScope& Selected() const { return m_selected; }
    // The tree's selection changed (empty when nothing is selected).
    void Select(FindScope item) { m_selected = item; }
    // The five catalog target boxes are shown only while a category is selected.
    bool CatalogTargetsVisible() const { return m_selected.IsCategory(); }
    // "全选" / "全不选": every visible target box.
    void CheckAllTargets(bool checked);
    // "清空历史查找内容(&D)": empties the history, marks the catalog modified, empties the box.
    void ClearHistory(catalog::CPelkoDoc& doc);

    // OK. Builds the mask from the visible boxes and trims the text; refuses an empty text with a
    // content target ("查找内容不能为空!"), otherwise puts the text into the history; refuses a
    // missing selection ("请选择类别或光盘"); clears the readme box when a catalog target is
    // checked. True when the dialog closes; Criteria() and Selected() then hold the choice.
    bool Accept(catalog::UserInterface& ui, catalog::CFindHistory& history);
    // The choice as criteria: the trimmed text as typed (not folded).
    const search::FindCriteria& Criteria() const { return m_criteria; }

private:
    FindScope m_selected;
    search::FindCriteria m_criteria;
};

}  // namespace pelko::shell
