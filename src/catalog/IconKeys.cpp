#include "catalog/IconKeys.h"

#include <utility>

#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CDir.h"
#include "catalog/CDiskInfo.h"
#include "catalog/CFileInfo.h"
#include "text/MbString.h"

namespace pelko::catalog {

IconKeys::IconKeys(PlatformIcon platformIcon) : m_platformIcon(std::move(platformIcon)) {
    for (const std::string_view key : kFixedIconKeys) {
        m_positions.emplace(std::string(key), static_cast<int>(m_keys.size()));
        m_keys.emplace_back(key);
    }
}

int IconKeys::Find(std::string_view key) const {
    const auto it = m_positions.find(std::string(key));
    return it == m_positions.end() ? -1 : it->second;
}

std::string IconKeys::ExtensionKey(std::string_view key) {
    std::string name = text::AsciiLower(text::Trim(key));
    if (name.size() > 3) {
        const std::size_t dot = text::FindLastChar(name, '.');
        if (dot != std::string::npos) name.erase(0, dot);
    }
    if (name.empty() || name.front() != '.') name.insert(name.begin(), '.');
    return name;
}

int IconKeys::Position(std::string_view key) {
    const std::string lowered = text::AsciiLower(text::Trim(key));
    for (std::size_t i = 0; i < kFixedIconKeys.size(); ++i)
        if (lowered == kFixedIconKeys[i]) return static_cast<int>(i);

    std::string extension = ExtensionKey(lowered);
    if (const int known = Find(extension); known >= 0) return known;

    const int position = static_cast<int>(m_keys.size());
    if (!m_platformIcon || !m_platformIcon(extension, position)) return Find(kIconUnknown);
    m_positions.emplace(extension, position);
    m_keys.push_back(std::move(extension));
    return position;
}

std::string_view IconKeyForKind(std::uint8_t kind) {
    switch (kind) {
        case CCD::kKindDisk:
            return kIconDisk;
        case CCD::kKindFixedDisk:
            return kIconFixedDisk;
        case CCD::kKindFixedDir:
            return kIconFixedDir;
        default:
            return kIconUnknown;
    }
}

std::string_view IconKeyOf(const CCategory&) { return kIconCategory; }

std::string_view IconKeyOf(const CDiskInfo& entry) { return IconKeyForKind(entry.m_nKind); }

std::string_view IconKeyOf(const CDir& dir) {
    if (const auto* cd = dynamic_cast<const CCD*>(&dir)) return IconKeyForKind(cd->m_nKind);
    if (dir.m_nDirKind == CDir::kKindArchive)
        return text::FindWhole(text::AsciiLower(dir.m_strName), ".zip") != std::string::npos ? kIconZipDir
                                                                                             : kIconRarDir;
    return kIconDir;
}

std::string_view IconKeyOf(const CFileInfo& file) { return file.m_strName.view(); }

}  // namespace pelko::catalog
