#include "catalog/DefaultCatalog.h"

#include <array>
#include <string_view>

#include "catalog/CArchive.h"
#include "catalog/CCategory.h"
#include "text/Codec.h"

namespace pelko::catalog {

namespace {

struct DefaultCategory {
    std::string_view name;
    std::array<std::string_view, 4> subcategories;
};

constexpr std::array<DefaultCategory, 6> kDefaultCategories = {{
    {"图片", {"旅游", "生活", "素材", "艺术"}},
    {"软件", {"系统软件", "开发工具", "网络工具", "实用工具"}},
    {"图书", {"计算机类资料", "通信类资料", "工程类资料", "文学图书"}},
    {"游戏", {"格斗类游戏", "策略类游戏", "角色扮演类游戏", "竞技类游戏"}},
    {"音乐", {"港台流行乐", "乡村音乐", "音乐素材", "摇滚乐"}},
    {"影碟", {"港片", "韩片", "DV", "西片"}},
}};

// The stored root name; a loaded catalog's root is always renamed "Pelko".
constexpr std::string_view kStoredRootName = "Pelko－光盘管理";

void WriteEmptyCategoryBody(CArchive& ar, std::string_view utf8Name, std::uint32_t subcategories) {
    ar.WriteByte(CCategory::kVersion);
    ar.WriteString(text::Local(utf8Name));
    ar.WriteString("");
    ar.WriteRaw(std::array<std::uint8_t, 8>{});
    ar.WriteDword(subcategories);
}

}  // namespace

std::vector<std::uint8_t> DefaultCatalogBytes() {
    std::vector<std::uint8_t> bytes;
    CArchive ar(bytes, CArchive::Mode::Store);
    WriteEmptyCategoryBody(ar, kStoredRootName, kDefaultCategories.size());
    for (const DefaultCategory& category : kDefaultCategories) {
        WriteEmptyCategoryBody(ar, category.name, category.subcategories.size());
        for (std::string_view sub : category.subcategories) {
            WriteEmptyCategoryBody(ar, sub, 0);
            ar.WriteDword(0);  // entries
        }
        ar.WriteDword(0);
    }
    ar.WriteDword(0);  // the root's entries
    ar.WriteCount(0);  // empty history
    ar.WriteRaw(std::array<std::uint8_t, 3>{});
    return bytes;
}

}  // namespace pelko::catalog
