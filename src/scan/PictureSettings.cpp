#include "scan/PictureSettings.h"

namespace pelko::scan {

namespace {

using Binding = settings::SettingBinding<PictureSettings>;

constexpr Binding kBindings[] = {
    {"g_bPicJpg", &PictureSettings::bPicJpg},
    {"g_bPicJpe", &PictureSettings::bPicJpe},
    {"g_bPicGif", &PictureSettings::bPicGif},
    {"g_bPicBmp", &PictureSettings::bPicBmp},
    {"g_bPicTiff", &PictureSettings::bPicTiff},
    {"g_bPicPsd", &PictureSettings::bPicPsd},
    {"g_bMostPicPerDir", &PictureSettings::bMostPicPerDir},
    {"g_nMostPicPerDir", &PictureSettings::nMostPicPerDir},
    {"g_bMostPicPerDisk", &PictureSettings::bMostPicPerDisk},
    {"g_nMostPicPerDisk", &PictureSettings::nMostPicPerDisk},
    {"g_bPicSize", &PictureSettings::bPicSize},
    {"g_nPicWidth", &PictureSettings::nPicWidth},
    {"g_nPicHight", &PictureSettings::nPicHight},
};

}  // namespace

PictureSettings::PictureSettings() { settings::LoadDefaultSettings(*this, Bindings()); }

PictureSettings PictureSettings::Load(const settings::SettingsStore& store) {
    PictureSettings s;
    settings::LoadSettings(s, Bindings(), store);
    return s;
}

std::span<const settings::SettingBinding<PictureSettings>> PictureSettings::Bindings() { return kBindings; }

}  // namespace pelko::scan
