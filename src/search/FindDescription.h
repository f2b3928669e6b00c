#pragma once
// The lines that open and close a search in the message pane: the hint "正在查找...", the
// scope, the target (only for a single target), the condition and the text; at the end the
// count of hits. Texts are model bytes.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/MessageLog.h"
#include "search/FindCriteria.h"

namespace pelko::search {

// Where a search looks: one scan object, or a category with or without its sub-categories.
enum class FindScopeKind { kScanObject, kCategory };

using DescriptionLine = std::pair<catalog::MessageKind, std::string>;

// `scopePath` is the catalog path of the scan object or category searched.
std::vector<DescriptionLine> DescribeSearch(const FindCriteria& criteria, FindScopeKind scope,
                                            std::string_view scopePath);

// "符合条件的查找结果共有 %d 项".
std::string CountLine(int hits);

}  // namespace pelko::search
