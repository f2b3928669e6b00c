#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace pelko::settings {
namespace {

TEST(SettingsStoreTest, MemoryStoreReadsIntegersOnlyFromWholeNumbers) {
    MemorySettingsStore store;
    EXPECT_EQ(store.ReadInt("a", 7), 7);
    EXPECT_EQ(store.ReadString("a", "def"), "def");
    const struct {
        const char* text;
        int value;
    } cases[] = {{"42", 42}, {"-3", -3}, {"", 7}, {"12abc", 7}, {"abc", 7}, {"99999999999", 7}};
    for (const auto& c : cases) {
        store.WriteString("a", c.text);
        EXPECT_EQ(store.ReadInt("a", 7), c.value) << c.text;
    }
}

TEST(SettingsStoreTest, OverlayShadowsTheBaseAndNeverWritesIt) {
    MemorySettingsStore base;
    base.WriteInt("n", 1);
    base.WriteString("s", "base");
    base.WriteInt("kept", 5);

    OverlaySettingsStore overlay(base);
    EXPECT_EQ(overlay.ReadInt("n", 0), 1) << "unshadowed keys come from the base";
    overlay.WriteInt("n", 2);
    overlay.WriteString("s", "run");
    overlay.WriteInt("new", 3);
    overlay.WriteString("kept", "not a number");

    EXPECT_EQ(overlay.ReadInt("n", 0), 2);
    EXPECT_EQ(overlay.ReadString("s", ""), "run");
    EXPECT_EQ(overlay.ReadInt("new", 0), 3);
    EXPECT_EQ(overlay.ReadInt("kept", 9), 9) << "a shadowing text that is no number gives the default";
    EXPECT_EQ(overlay.ReadInt("absent", 4), 4);

    EXPECT_EQ(base.ReadInt("n", 0), 1);
    EXPECT_EQ(base.ReadString("s", ""), "base");
    EXPECT_EQ(base.ReadInt("new", -1), -1);
    EXPECT_EQ(base.ReadInt("kept", 0), 5);

    base.WriteInt("late", 8);
    EXPECT_EQ(overlay.ReadInt("late", 0), 8) << "the overlay reads the base as it is now";
}

}  // namespace
}  // namespace pelko::settings
