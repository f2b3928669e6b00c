// The holders of option values: what each one binds must be a row of the settings table, and a
// store holding nothing must give the table's defaults without being written.

#include <gtest/gtest.h>

#include <map>
#include <string_view>

#include "export/ExportOptions.h"
#include "scan/Mp3Tag.h"
#include "scan/PictureSettings.h"
#include "scan/ScanSettings.h"
#include "shell/AppSettings.h"
#include "support/SettingHolderChecks.h"

namespace pelko::shell {
namespace {

using test::ExpectBindingsMatchTheTable;
using test::ExpectEmptyStoreGivesTheDefaults;

TEST(SettingHoldersTest, EveryBoundKeyIsAStartUpRowOfItsKind) {
    ExpectBindingsMatchTheTable<AppSettings>("AppSettings");
    ExpectBindingsMatchTheTable<scan::ScanSettings>("ScanSettings");
    ExpectBindingsMatchTheTable<scan::PictureSettings>("PictureSettings");
    ExpectBindingsMatchTheTable<scan::Mp3Options>("Mp3Options");
}

TEST(SettingHoldersTest, EveryStartUpKeyIsHeldByExactlyOnePartOfTheProgramsValues) {
    // One copy per option: a key held twice could go stale in one of its copies, and a start-up
    // key held nowhere would be read from the store behind the copies' back.
    std::map<std::string_view, int> holders;
    const auto count = [&holders](const auto& bindings) {
        for (const auto& binding : bindings) ++holders[binding.Key()];
    };
    count(AppSettings::Bindings());
    count(scan::ScanSettings::Bindings());
    count(scan::PictureSettings::Bindings());
    count(scan::Mp3Options::Bindings());
    count(exporting::ExportStyle::Bindings());
    for (const settings::SettingRow& row : settings::kSettingsTable) {
        if (row.use != settings::SettingUse::kStartUp) continue;
        EXPECT_EQ(holders[row.key], 1) << row.key;
    }
}

TEST(SettingHoldersTest, AStoreHoldingNothingGivesTheTableDefaultsAndIsNotWritten) {
    ExpectEmptyStoreGivesTheDefaults<AppSettings>("AppSettings", [](const settings::SettingsStore& store) {
        AppSettings s;
        s.scan.nFileLimit = 1;  // loading replaces every held value, the parts' too
        s.exportStyle.dirSign = "x";
        s.fwFilter = "x";
        s.Load(store);
        return s;
    });
    ExpectEmptyStoreGivesTheDefaults<scan::ScanSettings>(
        "ScanSettings", [](const settings::SettingsStore& store) { return scan::ScanSettings::Load(store); });
    ExpectEmptyStoreGivesTheDefaults<scan::PictureSettings>(
        "PictureSettings",
        [](const settings::SettingsStore& store) { return scan::PictureSettings::Load(store); });
    ExpectEmptyStoreGivesTheDefaults<scan::Mp3Options>(
        "Mp3Options", [](const settings::SettingsStore& store) { return scan::Mp3Options::Load(store); });
}

}  // namespace
}  // namespace pelko::shell
