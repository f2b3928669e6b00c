#pragma once
// A file of a scanned medium: name, memo, 64-bit size, file time and an optional 16 x 16 icon.

#include <cstdint>
#include <memory>
#include <string>

#include "catalog/ImageList.h"
#include "text/PackedString.h"

namespace pelko::catalog {

class CArchive;
class CDir;

class CFileInfo {
public:
    static constexpr std::uint8_t kVersion = 0x33;
    static constexpr std::uint8_t kFlagIcon = 0x01;
    // Smallest encoding of a record (oldest version, empty strings): version, two empty
    // strings, size low, file time.
    static constexpr std::uint64_t kMinEncodedBytes = 1 + 1 + 1 + 4 + 8;

    CDir* m_pParent = nullptr;  // not stored; set when added and on load
    text::PackedString m_strName;
    text::PackedString m_strMemo;
    std::uint32_t m_dwSizeLow = 0;
    std::uint32_t m_dwSizeHigh = 0;
    std::uint64_t m_ftTime = 0;  // FILETIME: 100 ns intervals since 1601-01-01 UTC
    std::uint8_t m_nFlags = 0;
    std::unique_ptr<IconImage> m_icon;  // present exactly when m_nFlags has kFlagIcon

    std::uint64_t Size() const { return (std::uint64_t{m_dwSizeHigh} << 32) | m_dwSizeLow; }
    void SetSize(std::uint64_t size) {
        m_dwSizeLow = static_cast<std::uint32_t>(size);
        m_dwSizeHigh = static_cast<std::uint32_t>(size >> 32);
    }
    bool HasIcon() const { return m_icon != nullptr; }
    void SetIcon(std::unique_ptr<IconImage> icon);

    void Serialize(CArchive& ar);
};

}  // namespace pelko::catalog
