#pragma once
// The catalog entry of one scan object: its name and memo in the catalog, the label and serial
// that name its disc file, and copies of the disc's statistics.

#include <array>
#include <cstdint>
#include <string>

namespace pelko::catalog {

class CArchive;
class CCategory;
class CCD;

class CDiskInfo {
public:
    static constexpr std::uint8_t kVersion = 0x31;

    CCategory* m_pCategory = nullptr;  // not stored
    std::string m_strName;
    std::string m_strVolumeLabel;
    std::uint32_t m_dwVolumeSerial = 0;
    std::string m_strMemo;
    std::uint8_t m_nKind = 0;
    std::array<std::uint8_t, 8> m_reserved{};  // written back exactly as read
    std::string m_strFolderPath;
    double m_dScanBytes = 0;
    double m_dCurrentBytes = 0;
    std::uint32_t m_nFileCount = 0;
    std::uint32_t m_nFolderCount = 0;

    // An entry written before statistics existed has both counts at zero.
    bool IsOldVersion() const { return m_nFileCount == 0 && m_nFolderCount == 0; }

    // Copies the four statistics of a disc into this entry.
    void CopyStatistics(const CCD& cd);

    void Serialize(CArchive& ar);
};

}  // namespace pelko::catalog
