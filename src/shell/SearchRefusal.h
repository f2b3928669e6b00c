#pragma once
// While a search reads the catalog tree, nothing may change it: every command that would is
// refused with an error line of the same style.

#include "shell/BusyState.h"

namespace pelko::catalog {
class MessageLog;
}

namespace pelko::shell {

enum class CatalogChange {
    kScan,          // "正在查找，不能扫描新的光盘"
    kNewCategory,   // "正在查找，不能新建类别"
    kDelete,        // "正在查找，不能进行删除操作"
    kEdit,          // renaming, editing a memo: "正在查找，不能进行编辑操作"
    kOpenDiscFile,  // importing or adding disc files: "正在查找，不能打开光盘"
    kMove,          // drag moves, cut and paste: "正在查找，不能移动类别或光盘"
    kMerge,         // merging another catalog: "正在查找，不能合并光盘库"
};

// True, after writing the error line for `change`, when a search is running.
bool RefuseWhileSearching(const BusyState& busy, catalog::MessageLog& log, CatalogChange change);

}  // namespace pelko::shell
