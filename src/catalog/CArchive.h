#pragma once
// The byte stream that every persistent record of the catalog is written to and read from.
//
// Little-endian primitives follow each other with no framing: byte, dword, double, raw block,
// counted string (1-, 3- or 7-byte length prefix; a wide UTF-16 form is accepted on reading),
// and the short count of the find history. One archive works in one direction, over a file
// descriptor with a 4096-byte buffer or over a memory block. Reading past the end or a failing
// read/write throws ArchiveError; the loading and saving routines of the records catch it and
// report in their own words.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::catalog {

class ArchiveError : public std::runtime_error {
public:
    enum class Kind { EndOfFile, FileError, BadData };
    ArchiveError(Kind kind, const char* what) : std::runtime_error(what), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

class CArchive {
public:
    enum class Mode { Store, Load };
    static constexpr std::size_t kBufferSize = 4096;

    // Loading from a memory block, which must outlive the archive.
    explicit CArchive(std::span<const std::uint8_t> block);
    // Over a memory block: storing appends to it, loading reads it.
    CArchive(std::vector<std::uint8_t>& block, Mode mode);
    // A modifiable block must say which direction is meant; a temporary one would be gone
    // before it is read.
    explicit CArchive(std::vector<std::uint8_t>&) = delete;
    explicit CArchive(std::vector<std::uint8_t>&&) = delete;
    // Over an open file descriptor, which the caller owns and closes after Close().
    CArchive(int fd, Mode mode);
    ~CArchive() = default;
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == Mode::Load; }
    bool IsStoring() const { return m_mode == Mode::Store; }

    // Flushes what is buffered for storing. Throws ArchiveError on a failed write.
    void Close();

    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::uint32_t ReadDword();
    double ReadDouble();
    void ReadRaw(std::span<std::uint8_t> out);
    std::string ReadString();
    // The same without a copy where the bytes are contiguous in memory; the view is valid
    // until the next read.
    std::string_view ReadStringView();
    std::uint32_t ReadCount();

    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteDword(std::uint32_t value);
    void WriteDouble(double value);
    void WriteRaw(std::span<const std::uint8_t> bytes);
    void WriteString(std::string_view text);
    void WriteCount(std::uint32_t count);

    // Upper bound of the bytes still to be read (exact for memory and regular files). Readers
    // check element counts and lengths against it before allocating, so a damaged length
    // cannot make them reserve far more than the input holds.
    std::uint64_t RemainingBound() const;

    // How many of `count` elements of at least `minBytes` each the rest of the input can hold:
    // what a reader may reserve for a count it has just read.
    std::size_t ReservableCount(std::uint32_t count, std::uint64_t minBytes) const {
        const std::uint64_t fits = RemainingBound() / minBytes;
        return static_cast<std::size_t>(count < fits ? count : fits);
    }

    // Bytes consumed (loading) or produced (storing) so far.
    std::uint64_t Position() const;

private:
    void Refill(std::size_t wanted);
    void FlushBuffer();
    void TakeBytes(std::uint8_t* out, std::size_t n);
    void PutBytes(const std::uint8_t* bytes, std::size_t n);
    std::uint32_t ReadStringLength(bool& wide);

    Mode m_mode;
    int m_fd = -1;
    std::vector<std::uint8_t>* m_sink = nullptr;
    std::vector<std::uint8_t> m_buffer;       // file buffer (both directions)
    const std::uint8_t* m_cur = nullptr;      // loading: next byte
    const std::uint8_t* m_end = nullptr;      // loading: end of the available bytes
    std::uint64_t m_consumedBefore = 0;       // loading: bytes taken before the current window
    std::uint64_t m_sourceSize = UINT64_MAX;  // loading: total size when known
    std::uint64_t m_flushed = 0;              // storing to a file: bytes written out
    std::string m_scratch;                    // loading: text that did not lie in one piece
};

}  // namespace pelko::catalog
