#include "scan/PictureSettings.h"

#include "catalog/SettingsStore.h"

namespace pelko::scan {

PictureSettings PictureSettings::Load(const catalog::SettingsStore& store) {
    const auto flag = [&](std::string_view key) { return catalog::ReadSettingInt(store, key) != 0; };
    const auto number = [&](std::string_view key) { return catalog::ReadSettingInt(store, key); };
    PictureSettings s;
    s.bPicJpg = flag("g_bPicJpg");
    s.bPicJpe = flag("g_bPicJpe");
    s.bPicGif = flag("g_bPicGif");
    s.bPicBmp = flag("g_bPicBmp");
    s.bPicTiff = flag("g_bPicTiff");
    s.bPicPsd = flag("g_bPicPsd");
    s.bMostPicPerDir = flag("g_bMostPicPerDir");
    s.nMostPicPerDir = number("g_nMostPicPerDir");
    s.bMostPicPerDisk = flag("g_bMostPicPerDisk");
    s.nMostPicPerDisk = number("g_nMostPicPerDisk");
    s.bPicSize = flag("g_bPicSize");
    s.nPicWidth = number("g_nPicWidth");
    s.nPicHight = number("g_nPicHight");
    return s;
}

}  // namespace pelko::scan
