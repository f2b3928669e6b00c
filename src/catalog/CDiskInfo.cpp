#include "catalog/CDiskInfo.h"

#include "catalog/CArchive.h"
#include "catalog/CCD.h"

namespace pelko::catalog {

void CDiskInfo::CopyStatistics(const CCD& cd) {
    m_dScanBytes = cd.m_dScanBytes;
    m_dCurrentBytes = cd.m_dCurrentBytes;
    m_nFileCount = cd.m_nFileCount;
    m_nFolderCount = cd.m_nFolderCount;
}

void CDiskInfo::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteByte(kVersion);
        ar.WriteString(m_strName);
        ar.WriteString(m_strVolumeLabel);
        ar.WriteDword(m_dwVolumeSerial);
        ar.WriteString(m_strMemo);
        ar.WriteByte(m_nKind);
        ar.WriteRaw(m_reserved);
        ar.WriteString(m_strFolderPath);
        ar.WriteDouble(m_dScanBytes);
        ar.WriteDouble(m_dCurrentBytes);
        ar.WriteDword(m_nFileCount);
        ar.WriteDword(m_nFolderCount);
        return;
    }
    const std::uint8_t version = ar.ReadByte();
    m_strName = ar.ReadString();
    m_strVolumeLabel = ar.ReadString();
    m_dwVolumeSerial = ar.ReadDword();
    m_strMemo = ar.ReadString();
    if (version >= 0x23) m_nKind = ar.ReadByte();
    if (version >= 0x24) ar.ReadRaw(m_reserved);
    if (version >= 0x25) m_strFolderPath = ar.ReadString();
    if (version >= 0x31) {
        m_dScanBytes = ar.ReadDouble();
        m_dCurrentBytes = ar.ReadDouble();
        m_nFileCount = ar.ReadDword();
        m_nFolderCount = ar.ReadDword();
    }
}

}  // namespace pelko::catalog
