#include <gtest/gtest.h>

#include <map>

#include "settings/SettingsStore.h"
#include "shell/HotKeys.h"
#include "support/ScriptedUi.h"
#include "text/Codec.h"

namespace pelko::shell {
namespace {

class FakeHotKeys final : public HotKeyPort {
public:
    bool available = true;
    std::vector<int> refused;                 // identifiers another program holds
    std::map<int, std::pair<int, int>> held;  // id -> modifiers, key
    std::vector<int> unregistered;

    bool Available() const override { return available; }
    bool Register(int id, int modifiers, int keyCode) override {
        if (std::find(refused.begin(), refused.end(), id) != refused.end()) return false;
        held[id] = {modifiers, keyCode};
        return true;
    }
    void Unregister(int id) override {
        held.erase(id);
        unregistered.push_back(id);
    }
};

std::vector<platform::OpticalDrive> Drives(std::initializer_list<int> numbers) {
    std::vector<platform::OpticalDrive> drives;
    for (int n : numbers) drives.push_back({n, "/dev/sr" + std::to_string(n), "", false});
    return drives;
}

TEST(HotKeysTest, StoredPairsBecomeKeysInDriveOrderOpenBeforeClose) {
    settings::MemorySettingsStore settings;
    settings.WriteInt("EHotKeyCombine50004", 3);  // Alt+Ctrl
    settings.WriteInt("EHotKeyChar50004", 69);    // E
    settings.WriteInt("EHotKeyCombine50032", 4);
    settings.WriteInt("EHotKeyChar50032", 0);  // a combination alone still counts
    settings.WriteInt("EHotKeyChar50030", 70);
    settings.WriteInt("EHotKeyChar50001", 71);  // no /dev/sr1: never looked at

    const std::vector<HotKey> keys = ConfiguredHotKeys(Drives({4, 6}), settings);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].command, 50004);
    EXPECT_EQ(keys[0].modifiers, kHotKeyAlt | kHotKeyCtrl);
    EXPECT_EQ(keys[0].keyCode, 'E');
    EXPECT_TRUE(keys[0].open);
    EXPECT_EQ(keys[1].command, 50030);
    EXPECT_FALSE(keys[1].open);
    EXPECT_EQ(keys[2].command, 50032);
    EXPECT_EQ(keys[2].device, "/dev/sr6");
}

TEST(HotKeysTest, RefusedKeysAreReportedAndTheRestRegistered) {
    settings::MemorySettingsStore settings;
    for (int id : {50000, 50026, 50002}) settings.WriteInt("EHotKeyChar" + std::to_string(id), 'A');
    FakeHotKeys port;
    port.refused = {50000, 50026};
    test::ScriptedUi ui;
    EXPECT_EQ(RegisterHotKeys(Drives({0, 2}), settings, port, ui), 1);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{text::Local("注册弹出光驱(/dev/sr0)的快捷键失败"),
                                                     text::Local("注册关闭光驱(/dev/sr0)的快捷键失败")}));
    EXPECT_EQ(port.held.count(50002), 1u);

    UnregisterHotKeys(Drives({0, 2}), port);
    EXPECT_EQ(port.unregistered, (std::vector<int>{50000, 50026, 50002, 50028}));
    EXPECT_TRUE(port.held.empty());
}

TEST(HotKeysTest, DesktopWithoutHotKeysSaysSoOnceAndOnlyWhenKeysAreSet) {
    settings::MemorySettingsStore settings;
    FakeHotKeys port;
    port.available = false;
    test::ScriptedUi ui;
    EXPECT_EQ(RegisterHotKeys(Drives({0}), settings, port, ui), 0);
    EXPECT_TRUE(ui.messages.empty());
    settings.WriteInt("EHotKeyChar50000", 'B');
    settings.WriteInt("EHotKeyChar50026", 'C');
    EXPECT_EQ(RegisterHotKeys(Drives({0}), settings, port, ui), 0);
    EXPECT_EQ(ui.messages, std::vector<std::string>{HotKeysUnavailableText()});
}

}  // namespace
}  // namespace pelko::shell
