#include "scan/ByteSource.h"

#include <algorithm>
#include <cstring>

#include "platform/Volume.h"

namespace pelko::scan {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}

std::optional<VolumeFileSource> VolumeFileSource::Open(platform::VolumeFolder& folder,
                                                       std::string_view rawName) {
    const std::optional<platform::EntryInfo> info = folder.Stat(rawName);
    if (!info) return std::nullopt;
    return VolumeFileSource(folder, std::string(rawName), info->size);
}

std::optional<std::size_t> VolumeFileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    // A read may come back short (a disc image, a slow medium): go on until it is all there.
    std::size_t total = 0;
    while (total < out.size()) {
        const std::optional<std::size_t> got =
            m_folder->ReadAt(m_rawName, offset + total, out.subspan(total));
        if (!got || *got > out.size() - total) return std::nullopt;
        if (*got == 0) break;
        total += *got;
    }
    return total;
}

std::uint64_t SequentialReader::Remaining() const {
    const std::uint64_t size = m_source.Size();
    return m_position < size ? size - m_position : 0;
}

bool SequentialReader::Fill() {
    if (m_buffer.size() != kBufferBytes) m_buffer.resize(kBufferBytes);
    const std::size_t got = m_source.ReadAt(m_position, m_buffer).value_or(0);
    m_buffer.resize(got);
    m_bufferAt = 0;
    return got > 0;
}

bool SequentialReader::Read(std::span<std::uint8_t> out) {
    if (m_failed) return false;
    std::size_t done = 0;
    while (done < out.size()) {
        if (m_bufferAt >= m_buffer.size() && !Fill()) {
            m_failed = true;
            return false;
        }
        const std::size_t n = std::min(out.size() - done, m_buffer.size() - m_bufferAt);
        std::memcpy(out.data() + done, m_buffer.data() + m_bufferAt, n);
        m_bufferAt += n;
        m_position += n;
        done += n;
    }
    return true;
}

bool SequentialReader::Skip(std::uint64_t count) {
    if (m_failed) return false;
    if (count > Remaining()) {
        m_failed = true;
        return false;
    }
    m_position += count;
    const std::uint64_t inBuffer = m_buffer.size() - m_bufferAt;
    if (count <= inBuffer) {
        m_bufferAt += static_cast<std::size_t>(count);
    } else {
        m_buffer.clear();
        m_bufferAt = 0;
    }
    return true;
}

std::optional<std::uint8_t> SequentialReader::U8() {
    std::uint8_t b[1];
    if (!Read(b)) return std::nullopt;
    return b[0];
}

std::optional<std::uint16_t> SequentialReader::U16() {
    std::uint8_t b[2];
    if (!Read(b)) return std::nullopt;
    return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
}

std::optional<std::uint32_t> SequentialReader::U32() {
    std::uint8_t b[4];
    if (!Read(b)) return std::nullopt;
    return static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
           static_cast<std::uint32_t>(b[2]) << 8 | b[3];
}

}  // namespace pelko::scan
