#pragma once
// The picture options of the settings table, read once before a scan and fixed for its length.
// Field names follow the settings keys; Bindings() says which key fills which field. A
// default-made value holds the table's defaults.

#include <span>

#include "settings/SettingBinding.h"

namespace pelko::scan {

struct PictureSettings {
    // Which extensions get thumbnails.
    bool bPicJpg{};
    bool bPicJpe{};
    bool bPicGif{};
    bool bPicBmp{};
    bool bPicTiff{};  // ".tif" and ".tiff"
    bool bPicPsd{};
    // Most pictures per folder and per scan, each with its switch.
    bool bMostPicPerDir{};
    int nMostPicPerDir{};
    bool bMostPicPerDisk{};
    int nMostPicPerDisk{};
    // The thumbnail box used instead of the picture area's size when on.
    bool bPicSize{};
    int nPicWidth{};
    int nPicHight{};

    // The table's defaults.
    PictureSettings();

    // Reads every option, with the table's defaults for missing keys.
    static PictureSettings Load(const settings::SettingsStore& store);

    static std::span<const settings::SettingBinding<PictureSettings>> Bindings();

    bool operator==(const PictureSettings&) const = default;
};

}  // namespace pelko::scan
