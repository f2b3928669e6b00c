#include "catalog/CFileInfo.h"

#include <array>
#include <cstring>

#include "catalog/CArchive.h"

namespace pelko::catalog {

void CFileInfo::SetIcon(std::unique_ptr<IconImage> icon) {
    m_icon = std::move(icon);
    m_nFlags = m_icon ? (m_nFlags | kFlagIcon) : (m_nFlags & ~kFlagIcon);
}

void CFileInfo::Serialize(CArchive& ar) {
    std::array<std::uint8_t, 8> time{};
    if (ar.IsStoring()) {
        ar.WriteByte(kVersion);
        ar.WriteString(m_strName);
        ar.WriteString(m_strMemo);
        ar.WriteDword(m_dwSizeLow);
        ar.WriteDword(m_dwSizeHigh);
        std::memcpy(time.data(), &m_ftTime, time.size());
        ar.WriteRaw(time);
        const std::uint8_t flags = m_icon ? (m_nFlags | kFlagIcon) : (m_nFlags & ~kFlagIcon);
        ar.WriteByte(flags);
        if (m_icon) WriteImageList(ar, *m_icon);
        return;
    }
    const std::uint8_t version = ar.ReadByte();
    m_strName = ar.ReadStringView();
    m_strMemo = ar.ReadStringView();
    m_dwSizeLow = ar.ReadDword();
    if (version >= 0x33) m_dwSizeHigh = ar.ReadDword();
    ar.ReadRaw(time);
    std::memcpy(&m_ftTime, time.data(), time.size());
    if (version >= 0x28) {
        m_nFlags = ar.ReadByte();
        if (m_nFlags & kFlagIcon) m_icon = std::make_unique<IconImage>(ReadImageList(ar));
    }
}

}  // namespace pelko::catalog
