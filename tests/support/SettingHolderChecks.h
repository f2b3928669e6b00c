#pragma once
// Checks shared by the tests of the values that hold options (AppSettings, ScanSettings,
// ExportStyle...): what a holder binds must be a row of the settings table, and a store holding
// nothing must give the table's defaults without being written.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "settings/SettingBinding.h"
#include "settings/SettingsStore.h"

namespace pelko::test {

// A store that holds nothing and fails the test on any write.
class EmptyStore final : public settings::SettingsStore {
public:
    int ReadInt(std::string_view, int defaultValue) const override { return defaultValue; }
    std::string ReadString(std::string_view, std::string_view defaultValue) const override {
        return std::string(defaultValue);
    }
    void WriteInt(std::string_view key, int) override { ADD_FAILURE() << "wrote " << key; }
    void WriteString(std::string_view key, std::string_view) override { ADD_FAILURE() << "wrote " << key; }
};

// Each binding names a start-up row of the table of its member's kind, once per holder.
template <class Holder>
void ExpectBindingsMatchTheTable(const char* holder) {
    using Type = typename settings::SettingBinding<Holder>::Type;
    std::set<std::string_view> seen;
    for (const auto& binding : Holder::Bindings()) {
        SCOPED_TRACE(std::string(holder) + " " + std::string(binding.Key()));
        const settings::SettingRow* row = settings::FindSetting(binding.Key());
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->key, binding.Key());
        EXPECT_EQ(row->kind, binding.MemberType() == Type::kText ? settings::SettingKind::kString
                                                                 : settings::SettingKind::kInt);
        EXPECT_EQ(row->use, settings::SettingUse::kStartUp);
        EXPECT_TRUE(seen.insert(binding.Key()).second) << "bound twice";
    }
}

// Loading from an empty store gives every member its row's default and writes nothing.
template <class Holder, class LoadFn>
void ExpectEmptyStoreGivesTheDefaults(const char* holder, LoadFn load) {
    using Type = typename settings::SettingBinding<Holder>::Type;
    EmptyStore store;
    const Holder loaded = load(store);
    EXPECT_EQ(loaded, Holder{}) << holder;
    for (const auto& binding : Holder::Bindings()) {
        SCOPED_TRACE(std::string(holder) + " " + std::string(binding.Key()));
        const settings::SettingRow& row = binding.Row();
        switch (binding.MemberType()) {
            case Type::kFlag:
                EXPECT_EQ(binding.IntOf(loaded), row.intDefault != 0 ? 1 : 0);
                break;
            case Type::kInt:
                EXPECT_EQ(binding.IntOf(loaded), row.intDefault);
                break;
            case Type::kByte:
                EXPECT_EQ(binding.IntOf(loaded), row.intDefault & 0xFF);
                break;
            case Type::kText:
                EXPECT_EQ(binding.TextOf(loaded), row.stringDefault);
                break;
        }
    }
}

}  // namespace pelko::test
