#include "shell/SearchRefusal.h"

#include "catalog/MessageLog.h"
#include "text/Codec.h"

namespace pelko::shell {

namespace {

const char* RefusalText(CatalogChange change) {
    switch (change) {
        case CatalogChange::kScan:
            return "正在查找，不能扫描新的光盘";
        case CatalogChange::kNewCategory:
            return "正在查找，不能新建类别";
        case CatalogChange::kDelete:
            return "正在查找，不能进行删除操作";
        case CatalogChange::kEdit:
            return "正在查找，不能进行编辑操作";
        case CatalogChange::kOpenDiscFile:
            return "正在查找，不能打开光盘";
        case CatalogChange::kMove:
            return "正在查找，不能移动类别或光盘";
        case CatalogChange::kMerge:
            return "正在查找，不能合并光盘库";
    }
    return "正在查找，不能进行编辑操作";
}

}  // namespace

bool RefuseWhileSearching(const BusyState& busy, catalog::MessageLog& log, CatalogChange change) {
    if (!busy.IsSearching()) return false;
    log.Post(catalog::MessageKind::Error, text::Local(RefusalText(change)));
    return true;
}

}  // namespace pelko::shell
