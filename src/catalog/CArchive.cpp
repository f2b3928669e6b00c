#include "catalog/CArchive.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/WriteAll.h"
#include "text/Codec.h"

namespace pelko::catalog {

static_assert(std::endian::native == std::endian::little, "the archive format is little-endian");

namespace {

[[noreturn]] void ThrowEof() {
    throw ArchiveError(ArchiveError::Kind::EndOfFile, "unexpected end of archive");
}
[[noreturn]] void ThrowFileError(const char* what) {
    throw ArchiveError(ArchiveError::Kind::FileError, what);
}

}  // namespace

CArchive::CArchive(std::span<const std::uint8_t> block)
    : m_mode(Mode::Load),
      m_cur(block.data()),
      m_end(block.data() + block.size()),
      m_sourceSize(block.size()) {}

CArchive::CArchive(std::vector<std::uint8_t>& block, Mode mode) : m_mode(mode) {
    if (mode == Mode::Store) {
        m_sink = &block;
    } else {
        m_cur = block.data();
        m_end = block.data() + block.size();
        m_sourceSize = block.size();
    }
}

CArchive::CArchive(int fd, Mode mode) : m_mode(mode), m_fd(fd) {
    m_buffer.reserve(kBufferSize);
    if (mode == Mode::Load) {
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            const off_t at = lseek(fd, 0, SEEK_CUR);
            m_sourceSize = static_cast<std::uint64_t>(st.st_size);
            if (at > 0) m_sourceSize -= std::min<std::uint64_t>(m_sourceSize, static_cast<std::uint64_t>(at));
        }
    }
}

void CArchive::Close() {
    if (IsStoring() && m_fd >= 0) FlushBuffer();
}

std::uint64_t CArchive::Position() const {
    if (IsLoading()) {
        const std::uint64_t inWindow =
            m_fd >= 0 ? m_buffer.size() - static_cast<std::size_t>(m_end - m_cur) : 0;
        return m_fd >= 0 ? m_consumedBefore + inWindow
                         : m_sourceSize - static_cast<std::uint64_t>(m_end - m_cur);
    }
    return m_sink ? m_sink->size() : m_flushed + m_buffer.size();
}

std::uint64_t CArchive::RemainingBound() const {
    if (m_sourceSize == UINT64_MAX) return UINT64_MAX;
    const std::uint64_t pos = Position();
    return pos >= m_sourceSize ? static_cast<std::uint64_t>(m_end - m_cur) : m_sourceSize - pos;
}

// Reads the next window of the file so that at least `wanted` bytes (at most kBufferSize) are
// available, or throws at the end of the file.
void CArchive::Refill(std::size_t wanted) {
    if (m_fd < 0) ThrowEof();
    const std::size_t left = static_cast<std::size_t>(m_end - m_cur);
    m_consumedBefore += m_buffer.size() - left;
    std::vector<std::uint8_t> next(kBufferSize);
    if (left > 0) std::memcpy(next.data(), m_cur, left);
    std::size_t have = left;
    while (have < wanted) {
        const ssize_t got = ::read(m_fd, next.data() + have, kBufferSize - have);
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowFileError("read error");
        }
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    next.resize(have);
    m_buffer = std::move(next);
    m_cur = m_buffer.data();
    m_end = m_buffer.data() + m_buffer.size();
    if (have < wanted) ThrowEof();
}

void CArchive::TakeBytes(std::uint8_t* out, std::size_t n) {
    while (n > 0) {
        if (m_cur == m_end) Refill(1);
        const std::size_t chunk = std::min(n, static_cast<std::size_t>(m_end - m_cur));
        std::memcpy(out, m_cur, chunk);
        m_cur += chunk;
        out += chunk;
        n -= chunk;
    }
}

void CArchive::FlushBuffer() {
    if (!platform::WriteAll(m_fd, m_buffer)) ThrowFileError("write error");
    m_flushed += m_buffer.size();
    m_buffer.clear();
}

void CArchive::PutBytes(const std::uint8_t* bytes, std::size_t n) {
    if (m_sink) {
        m_sink->insert(m_sink->end(), bytes, bytes + n);
        return;
    }
    while (n > 0) {
        const std::size_t chunk = std::min(n, kBufferSize - m_buffer.size());
        m_buffer.insert(m_buffer.end(), bytes, bytes + chunk);
        bytes += chunk;
        n -= chunk;
        if (m_buffer.size() == kBufferSize) FlushBuffer();
    }
}

std::uint8_t CArchive::ReadByte() {
    if (m_cur == m_end) Refill(1);
    return *m_cur++;
}

std::uint16_t CArchive::ReadWord() {
    std::uint16_t v;
    if (m_end - m_cur >= 2) {
        std::memcpy(&v, m_cur, 2);
        m_cur += 2;
    } else {
        TakeBytes(reinterpret_cast<std::uint8_t*>(&v), 2);
    }
    return v;
}

std::uint32_t CArchive::ReadDword() {
    std::uint32_t v;
    if (m_end - m_cur >= 4) {
        std::memcpy(&v, m_cur, 4);
        m_cur += 4;
    } else {
        TakeBytes(reinterpret_cast<std::uint8_t*>(&v), 4);
    }
    return v;
}

double CArchive::ReadDouble() {
    double v;
    TakeBytes(reinterpret_cast<std::uint8_t*>(&v), 8);
    return v;
}

void CArchive::ReadRaw(std::span<std::uint8_t> out) { TakeBytes(out.data(), out.size()); }

std::uint32_t CArchive::ReadStringLength(bool& wide) {
    wide = false;
    const std::uint8_t b = ReadByte();
    if (b < 0xFF) return b;
    const std::uint16_t w = ReadWord();
    if (w == 0xFFFE) {
        wide = true;
        bool again = false;
        const std::uint32_t n = ReadStringLength(again);
        if (again) throw ArchiveError(ArchiveError::Kind::BadData, "nested wide string marker");
        return n;
    }
    if (w == 0xFFFF) return ReadDword();
    return w;
}

std::string CArchive::ReadString() { return std::string(ReadStringView()); }

std::string_view CArchive::ReadStringView() {
    bool wide = false;
    const std::uint32_t n = ReadStringLength(wide);
    const std::uint64_t bytes = wide ? std::uint64_t{n} * 2 : n;
    if (bytes > RemainingBound()) ThrowEof();
    if (!wide) {
        if (static_cast<std::uint64_t>(m_end - m_cur) >= n) {
            const std::string_view text(reinterpret_cast<const char*>(m_cur), n);
            m_cur += n;
            return text;
        }
        m_scratch.resize(n);
        TakeBytes(reinterpret_cast<std::uint8_t*>(m_scratch.data()), n);
        return m_scratch;
    }
    std::u16string units(n, u'\0');
    TakeBytes(reinterpret_cast<std::uint8_t*>(units.data()), bytes);
    m_scratch = text::FromUtf16(units);
    return m_scratch;
}

std::uint32_t CArchive::ReadCount() {
    const std::uint16_t w = ReadWord();
    return w == 0xFFFF ? ReadDword() : w;
}

void CArchive::WriteByte(std::uint8_t value) {
    if (!m_sink && m_buffer.size() < kBufferSize) {
        m_buffer.push_back(value);
        if (m_buffer.size() == kBufferSize) FlushBuffer();
        return;
    }
    PutBytes(&value, 1);
}

void CArchive::WriteWord(std::uint16_t value) { PutBytes(reinterpret_cast<const std::uint8_t*>(&value), 2); }
void CArchive::WriteDword(std::uint32_t value) { PutBytes(reinterpret_cast<const std::uint8_t*>(&value), 4); }
void CArchive::WriteDouble(double value) { PutBytes(reinterpret_cast<const std::uint8_t*>(&value), 8); }
void CArchive::WriteRaw(std::span<const std::uint8_t> bytes) { PutBytes(bytes.data(), bytes.size()); }

void CArchive::WriteString(std::string_view text) {
    const auto n = static_cast<std::uint32_t>(text.size());
    if (n < 0xFF) {
        WriteByte(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteByte(0xFF);
        WriteWord(static_cast<std::uint16_t>(n));
    } else {
        WriteByte(0xFF);
        WriteWord(0xFFFF);
        WriteDword(n);
    }
    PutBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void CArchive::WriteCount(std::uint32_t count) {
    if (count < 0xFFFF) {
        WriteWord(static_cast<std::uint16_t>(count));
    } else {
        WriteWord(0xFFFF);
        WriteDword(count);
    }
}

}  // namespace pelko::catalog
