#include "scan/ByteSource.h"

#include <algorithm>
#include <cstring>

#include "platform/Volume.h"

namespace pelko::scan {

bool MemorySource::ReadExact(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > m_bytes.size() || out.size() > m_bytes.size() - offset) return false;
    if (!out.empty()) std::memcpy(out.data(), m_bytes.data() + offset, out.size());
    return true;
}

std::optional<VolumeFileSource> VolumeFileSource::Open(platform::VolumeFolder& folder,
                                                       std::string_view rawName) {
    const std::optional<platform::EntryInfo> info = folder.Stat(rawName);
    if (!info) return std::nullopt;
    return VolumeFileSource(folder, rawName, info->size);
}

bool VolumeFileSource::ReadExact(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > m_size || out.size() > m_size - offset) return false;
    // A read may come back short (a disc image, a slow medium): go on until it is all there.
    while (!out.empty()) {
        const std::optional<std::size_t> got = m_folder->ReadAt(m_rawName, offset, out);
        if (!got || *got == 0 || *got > out.size()) return false;
        offset += *got;
        out = out.subspan(*got);
    }
    return true;
}

}  // namespace pelko::scan
