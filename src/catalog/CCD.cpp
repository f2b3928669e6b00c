#include "catalog/CCD.h"

#include "catalog/CArchive.h"
#include "text/Codec.h"

namespace pelko::catalog {

CCD::CCD() : m_strReadme(text::Local("该对象目前没有描述信息")) {}

void CCD::Serialize(CArchive& ar) {
    SerializeHeader(ar);
    SerializeFolder(ar, 0);
}

void CCD::SerializeHeader(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(kSignature);
        ar.WriteString(m_strVolumeLabel);
        ar.WriteDword(m_dwVolumeSerial);
        ar.WriteDword(m_dwMaxComponentLength);
        ar.WriteDword(m_dwFileSystemFlags);
        ar.WriteString(m_strFileSystem);
        ar.WriteByte(kVersion);
        ar.WriteByte(m_nKind);
        ar.WriteString(m_strReadme);
        ar.WriteString(m_strFolderPath);
        ar.WriteDouble(m_dScanBytes);
        ar.WriteDouble(m_dCurrentBytes);
        ar.WriteDword(m_nFileCount);
        ar.WriteDword(m_nFolderCount);
    } else {
        ar.ReadString();  // signature, checked by the caller
        m_strVolumeLabel = ar.ReadString();
        m_dwVolumeSerial = ar.ReadDword();
        m_dwMaxComponentLength = ar.ReadDword();
        m_dwFileSystemFlags = ar.ReadDword();
        m_strFileSystem = ar.ReadString();
        const std::uint8_t version = ar.ReadByte();
        m_nVersionRead = version;
        if (version >= 0x23) {
            m_nKind = ar.ReadByte();
            m_strReadme = ar.ReadString();
        }
        if (version >= 0x25) m_strFolderPath = ar.ReadString();
        if (version >= 0x31) {
            m_dScanBytes = ar.ReadDouble();
            m_dCurrentBytes = ar.ReadDouble();
            m_nFileCount = ar.ReadDword();
            m_nFolderCount = ar.ReadDword();
        }
    }
}

void CCD::RecomputeTotals() {
    m_dCurrentBytes = 0;
    m_nFileCount = 0;
    m_nFolderCount = 0;
    Accumulate(m_dCurrentBytes, m_nFileCount, m_nFolderCount);
}

std::string CCD::DiscFileName() const { return catalog::DiscFileName(m_strVolumeLabel, m_dwVolumeSerial); }

std::string DiscFileName(std::string_view volumeLabel, std::uint32_t volumeSerial) {
    std::string name(volumeLabel);
    name += std::to_string(volumeSerial);
    name += ".pkb";
    return name;
}

}  // namespace pelko::catalog
