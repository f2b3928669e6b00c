#pragma once
// The root of a disc file: volume data of the scanned medium, its readme text, totals, and
// the folder tree below it.

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/CDir.h"

namespace pelko::catalog {

class CCD final : public CDir {
public:
    static constexpr std::uint8_t kVersion = 0x31;
    static constexpr std::string_view kSignature = "D89D02AE-F73D-46c8-8976-69283410A6DE";

    // Kind codes of a scan object.
    static constexpr std::uint8_t kKindDisk = 0;       // a disc in an optical drive
    static constexpr std::uint8_t kKindFixedDisk = 1;  // a partition or other non-optical drive
    static constexpr std::uint8_t kKindFixedDir = 2;   // a folder, identified by its path

    CCD();

    double m_dScanBytes = 0;
    double m_dCurrentBytes = 0;
    std::uint32_t m_nFolderCount = 0;
    std::uint32_t m_nFileCount = 0;
    std::string m_strDisplayName;  // not stored: the catalog entry's name, set on open
    std::string m_strVolumeLabel;
    std::uint32_t m_dwVolumeSerial = 0;
    std::uint32_t m_dwMaxComponentLength = 0;
    std::uint32_t m_dwFileSystemFlags = 0;
    std::string m_strFileSystem;
    bool m_bModified = false;  // not stored
    std::string m_strReadme;
    std::uint8_t m_nKind = kKindDisk;
    std::string m_strFolderPath;
    std::string m_strFilePath;               // not stored: full path of the disc file
    bool m_bSaved = false;                   // not stored: the disc file was written since creation
    std::uint8_t m_nVersionRead = kVersion;  // not stored: the version byte of the file read

    CCD* AsCD() override { return this; }

    // The whole disc file. Reading skips the signature without checking it; opening a disc
    // file checks it first.
    void Serialize(CArchive& ar) override;
    // Only the part before the folder tree: volume data, version, kind, readme, folder path and
    // the statistics (as far as the version holds them).
    void SerializeHeader(CArchive& ar);

    // Recounts files, folders and current bytes over the tree; the scan-time bytes stay.
    void RecomputeTotals();

    // The disc file's name: label and serial as "%s%lu.pkb" (model bytes).
    std::string DiscFileName() const;
};

std::string DiscFileName(std::string_view volumeLabel, std::uint32_t volumeSerial);

}  // namespace pelko::catalog
