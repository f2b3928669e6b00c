#include "scan/ScanSettings.h"

namespace pelko::scan {

namespace {

using Binding = settings::SettingBinding<ScanSettings>;

constexpr Binding kBindings[] = {
    {"g_bCheckOnlyDir", &ScanSettings::bCheckOnlyDir},
    {"g_bCheckFileLimit", &ScanSettings::bCheckFileLimit},
    {"g_nFileLimit", &ScanSettings::nFileLimit},
    {"g_bCheckFileLimitDisk", &ScanSettings::bCheckFileLimitDisk},
    {"g_nFileLimitTotal", &ScanSettings::nFileLimitTotal},
    {"g_bCheckFileExt2", &ScanSettings::bCheckFileExt2},
    {"g_szFileLimit2", &ScanSettings::szFileLimit2},
    {"g_bCheckFileExt", &ScanSettings::bCheckFileExt},
    {"g_szFileLimit", &ScanSettings::szFileLimit},
    {"g_bCheckDirLimit", &ScanSettings::bCheckDirLimit},
    {"g_nDirLimit", &ScanSettings::nDirLimit},
    {"g_bFileCopy", &ScanSettings::bFileCopy},
    {"g_szFileCopy", &ScanSettings::szFileCopy},
    {"ExtractZip", &ScanSettings::extractZip},
    {"ExtractMp3", &ScanSettings::extractMp3},
    {"ExtractExeIcon", &ScanSettings::extractExeIcon},
    {"g_bPicScan", &ScanSettings::bPicScan},
    {"AutoFillReadme", &ScanSettings::autoFillReadme},
};

}  // namespace

ScanSettings::ScanSettings() { settings::LoadDefaultSettings(*this, Bindings()); }

ScanSettings ScanSettings::Load(const settings::SettingsStore& store) {
    ScanSettings s;
    settings::LoadSettings(s, Bindings(), store);
    return s;
}

std::span<const settings::SettingBinding<ScanSettings>> ScanSettings::Bindings() { return kBindings; }

}  // namespace pelko::scan
