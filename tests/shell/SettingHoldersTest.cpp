// The holders of option values: what each one binds must be a row of the settings table, and a
// store holding nothing must give the table's defaults without being written.

#include <gtest/gtest.h>

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
}

TEST(SettingHoldersTest, TheScanHoldersKeepOnlyWhatTheProgramHolds) {
    // The desktop program hands its copies to a scan (ScanOptions); a key the scan holders read
    // that the program does not hold, or holds as another type, would go stale between the two.
    const auto held = [](std::string_view key) {
        return settings::FindBinding(AppSettings::Bindings(), key);
    };
    for (const auto& binding : scan::ScanSettings::Bindings()) {
        const auto* own = held(binding.Key());
        ASSERT_NE(own, nullptr) << binding.Key();
        EXPECT_EQ(static_cast<int>(own->MemberType()), static_cast<int>(binding.MemberType()))
            << binding.Key();
    }
    for (const auto& binding : scan::PictureSettings::Bindings()) {
        const auto* own = held(binding.Key());
        ASSERT_NE(own, nullptr) << binding.Key();
        EXPECT_EQ(static_cast<int>(own->MemberType()), static_cast<int>(binding.MemberType()))
            << binding.Key();
    }
}

TEST(SettingHoldersTest, AStoreHoldingNothingGivesTheTableDefaultsAndIsNotWritten) {
    ExpectEmptyStoreGivesTheDefaults<AppSettings>("AppSettings", [](const settings::SettingsStore& store) {
        AppSettings s;
        s.nFileLimit = 1;  // loading replaces every held value
        s.szExDirSign = "x";
        s.Load(store);
        return s;
    });
    ExpectEmptyStoreGivesTheDefaults<scan::ScanSettings>(
        "ScanSettings", [](const settings::SettingsStore& store) { return scan::ScanSettings::Load(store); });
    ExpectEmptyStoreGivesTheDefaults<scan::PictureSettings>(
        "PictureSettings",
        [](const settings::SettingsStore& store) { return scan::PictureSettings::Load(store); });
}

}  // namespace
}  // namespace pelko::shell
