#include <gtest/gtest.h>

#include "export/ExportOptions.h"
#include "settings/SettingsStore.h"
#include "support/SettingHolderChecks.h"
#include "text/Codec.h"

namespace pelko::exporting {
namespace {

TEST(ExportStyleTest, BindsRowsOfTheTableAndDefaultsToThem) {
    test::ExpectBindingsMatchTheTable<ExportStyle>("ExportStyle");
    test::ExpectEmptyStoreGivesTheDefaults<ExportStyle>(
        "ExportStyle", [](const settings::SettingsStore& store) { return ExportStyle::Load(store); });
    const ExportStyle defaults = ExportStyle::Defaults();
    EXPECT_TRUE(defaults.tree);
    EXPECT_FALSE(defaults.memo);
    EXPECT_EQ(defaults.dirSign, text::Local("【文件夹】"));
}

TEST(ExportStyleTest, LoadTakesTheStoredValues) {
    settings::MemorySettingsStore store;
    store.WriteInt("g_bExportTree", 0);
    store.WriteInt("g_bExportMemo", 1);
    store.WriteString("g_szExDirSign", "[DIR]");
    store.WriteString("g_szExTxtPre", "<<");
    store.WriteString("g_szExTxtPost", ">>");
    store.WriteString("g_szExHtmPre", "<i>");
    store.WriteString("g_szExHtmPost", "</i>");
    const ExportStyle style = ExportStyle::Load(store);
    EXPECT_FALSE(style.tree);
    EXPECT_TRUE(style.memo);
    EXPECT_EQ(style.dirSign, "[DIR]");
    EXPECT_EQ(style.txtPre, "<<");
    EXPECT_EQ(style.txtPost, ">>");
    EXPECT_EQ(style.htmPre, "<i>");
    EXPECT_EQ(style.htmPost, "</i>");
}

}  // namespace
}  // namespace pelko::exporting
