#pragma once
// The picture options of the settings table, read once before a scan and fixed for its length.
// Field names follow the settings keys. A default-made value holds the table's defaults.

#include "catalog/SettingsTable.h"

namespace pelko::catalog {
class SettingsStore;
}

namespace pelko::scan {

struct PictureSettings {
    // Which extensions get thumbnails.
    bool bPicJpg = catalog::DefaultFlag("g_bPicJpg");
    bool bPicJpe = catalog::DefaultFlag("g_bPicJpe");
    bool bPicGif = catalog::DefaultFlag("g_bPicGif");
    bool bPicBmp = catalog::DefaultFlag("g_bPicBmp");
    bool bPicTiff = catalog::DefaultFlag("g_bPicTiff");  // ".tif" and ".tiff"
    bool bPicPsd = catalog::DefaultFlag("g_bPicPsd");
    // Most pictures per folder and per scan, each with its switch.
    bool bMostPicPerDir = catalog::DefaultFlag("g_bMostPicPerDir");
    int nMostPicPerDir = catalog::DefaultInt("g_nMostPicPerDir");
    bool bMostPicPerDisk = catalog::DefaultFlag("g_bMostPicPerDisk");
    int nMostPicPerDisk = catalog::DefaultInt("g_nMostPicPerDisk");
    // The thumbnail box used instead of the picture area's size when on.
    bool bPicSize = catalog::DefaultFlag("g_bPicSize");
    int nPicWidth = catalog::DefaultInt("g_nPicWidth");
    int nPicHight = catalog::DefaultInt("g_nPicHight");

    static PictureSettings Load(const catalog::SettingsStore& store);
};

}  // namespace pelko::scan
