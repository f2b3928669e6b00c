#include "search/FindDescription.h"

#include "text/Codec.h"

namespace pelko::search {

namespace {

// The target line names a single target; with several (or none) it is left out.
const char* TargetLine(int targets) {
    switch (targets) {
        case kFileName:
            return "对象：文件名称";
        case kFileMemo:
            return "对象：文件备注";
        case kFolderName:
            return "对象：文件夹名称";
        case kFolderMemo:
            return "对象：文件夹备注";
        case kCategoryName:
            return "对象：类别名称";
        case kCategoryMemo:
            return "对象：类别备注";
        case kDiscName:
            return "对象：光盘名称";
        case kDiscMemo:
            return "对象：光盘备注";
        case kDiscLabel:
            return "对象：光盘标签（即硬盘上的光盘文件名称）";
        default:
            return nullptr;
    }
}

const char* ConditionLine(const FindCriteria& criteria) {
    if (criteria.partMatch)
        return criteria.caseSensitive ? "条件：部分匹配，区分大小写" : "条件：部分匹配，不分大小写";
    return criteria.caseSensitive ? "条件：完全匹配，区分大小写" : "条件：完全匹配，不分大小写";
}

}  // namespace

std::vector<DescriptionLine> DescribeSearch(const FindCriteria& criteria, FindScopeKind scope,
                                            std::string_view scopePath) {
    using catalog::MessageKind;
    std::vector<DescriptionLine> lines;
    lines.emplace_back(MessageKind::Hint, text::Local("正在查找..."));
    const char* scopePattern = scope == FindScopeKind::kScanObject ? "范围：光盘<< %s >>"
                               : criteria.onlyThisCategory         ? "范围：类别<< %s >>下的光盘"
                                                           : "范围：类别<< %s >>及其所有子类别下下的光盘";
    lines.emplace_back(MessageKind::Detail, text::LocalWith(scopePattern, scopePath));
    if (const char* target = TargetLine(criteria.targets))
        lines.emplace_back(MessageKind::Detail, text::Local(target));
    lines.emplace_back(MessageKind::Detail, text::Local(ConditionLine(criteria)));
    lines.emplace_back(MessageKind::Detail, text::LocalWith("内容：%s", criteria.text));
    return lines;
}

std::string CountLine(int hits) {
    return text::LocalWith("符合条件的查找结果共有 %s 项", std::to_string(hits));
}

}  // namespace pelko::search
