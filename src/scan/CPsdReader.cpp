#include "scan/CPsdReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>

#include "scan/ByteSource.h"
#include "scan/ThumbnailFile.h"

namespace pelko::scan {

namespace {

constexpr std::uint16_t kThumbnailResourceOld = 1033;  // Photoshop 4
constexpr std::uint16_t kThumbnailResource = 1036;     // Photoshop 5 and later
constexpr std::uint32_t kThumbnailHeaderBytes = 28;
// An embedded thumbnail is a few kilobytes; a resource claiming more is not believed.
constexpr std::uint32_t kMaxThumbnailBytes = 32u << 20;
constexpr std::size_t kColourTableBytes = 768;
// The largest sides a version 1 file may have, and its most channels.
constexpr std::uint32_t kMaxSide = 30000;
constexpr int kMaxChannels = 56;
// PackBits turns two bytes into at most 128.
constexpr std::uint64_t kPackBitsMaxGain = 64;

std::uint8_t ToSample(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// Subtractive colour: ink amounts from 0 (none) to 1 (full).
std::array<std::uint8_t, 3> FromInks(double c, double m, double y, double k) {
    return {ToSample(255 * (1 - (k + (1 - k) * c))), ToSample(255 * (1 - (k + (1 - k) * m))),
            ToSample(255 * (1 - (k + (1 - k) * y)))};
}
double Ink(std::uint8_t sample) { return 1.0 - sample / 256.0; }

double LabInverse(double t) {
    const double cube = t * t * t;
    return cube > 0.008856 ? cube : (t - 16.0 / 116.0) / 7.787;
}
double SrgbCurve(double v) { return v > 0.0031308 ? 1.055 * std::pow(v, 1 / 2.4) - 0.055 : 12.92 * v; }
std::uint8_t SrgbSample(double v) {
    return static_cast<std::uint8_t>(std::clamp(SrgbCurve(v) * 256.0, 0.0, 255.0));
}

// CIE L*a*b* (D65 white) to sRGB.
std::array<std::uint8_t, 3> FromLab(std::uint8_t lSample, std::uint8_t aSample, std::uint8_t bSample) {
    const double l = lSample * 100.0 / 255.0;
    const double a = aSample - 128.0;
    const double b = bSample - 128.0;
    const double fy = (l + 16) / 116;
    const double x = 95.047 * LabInverse(fy + a / 500) / 100;
    const double y = 100.0 * LabInverse(fy) / 100;
    const double z = 108.883 * LabInverse(fy - b / 200) / 100;
    return {SrgbSample(3.2406 * x - 1.5372 * y - 0.4986 * z),
            SrgbSample(-0.9689 * x + 1.8758 * y + 0.0415 * z),
            SrgbSample(0.0557 * x - 0.2040 * y + 1.0570 * z)};
}

}  // namespace

int CPsdReader::Read(ByteSource* file, const std::filesystem::path& thumbnailPath) {
    *this = CPsdReader();
    if (!file) return kCannotOpen;
    try {
        SequentialReader in(*file);
        if (const int code = ReadHeader(in); code != kOk) return code;

        const std::optional<std::uint32_t> colourBytes = in.U32();
        if (!colourBytes || *colourBytes > in.Remaining()) return kBadColourModeData;
        if (*colourBytes == kColourTableBytes) {
            m_colourModeData.resize(kColourTableBytes);
            if (!in.Read(m_colourModeData)) return kBadColourModeData;
        } else if (!in.Skip(*colourBytes)) {
            return kBadColourModeData;
        }

        if (const int code = ReadResources(in, thumbnailPath); code != kOk || m_bThumbnailFound) return code;

        const std::optional<std::uint32_t> layerBytes = in.U32();
        if (!layerBytes || !in.Skip(*layerBytes)) return kLayerSectionCutShort;
        return ReadImageData(in);
    } catch (const std::bad_alloc&) {
        m_planes.clear();
        m_bitmap.clear();
        return kNoBitmap;
    }
}

int CPsdReader::ReadHeader(SequentialReader& in) {
    std::uint8_t header[26];
    if (!in.Read(header)) return kBadHeader;
    const auto u16 = [&](int at) { return static_cast<std::uint32_t>(header[at] << 8 | header[at + 1]); };
    const auto u32 = [&](int at) { return u16(at) << 16 | u16(at + 2); };
    if (std::memcmp(header, "8BPS", 4) != 0 || u16(4) != 1) return kBadHeader;
    for (int i = 6; i < 12; ++i)
        if (header[i] != 0) return kBadHeader;
    m_nChannels = static_cast<int>(u16(12));
    const std::uint32_t height = u32(14);
    const std::uint32_t width = u32(18);
    m_nDepth = static_cast<int>(u16(22));
    m_nMode = static_cast<int>(u16(24));
    if (m_nChannels < 1 || m_nChannels > kMaxChannels || width < 1 || height < 1 || width > kMaxSide ||
        height > kMaxSide)
        return kBadHeader;
    m_nWidth = static_cast<int>(width);
    m_nHeight = static_cast<int>(height);
    return kOk;
}

int CPsdReader::ReadResources(SequentialReader& in, const std::filesystem::path& thumbnailPath) {
    const std::optional<std::uint32_t> length = in.U32();
    if (!length) return kBadResourceSection;
    const std::uint64_t start = in.Position();
    const std::uint64_t end = start + *length;
    while (in.Position() - start < *length) {
        std::uint8_t signature[4];
        if (!in.Read(signature)) break;
        // A block without its signature is not read further; the walk goes on 4 bytes later.
        if (std::memcmp(signature, "8BIM", 4) != 0) continue;
        const std::optional<std::uint16_t> id = in.U16();
        const std::optional<std::uint8_t> nameLength = in.U8();
        // The name with its length byte is padded to an even number of bytes.
        if (!id || !nameLength || !in.Skip(*nameLength + ((*nameLength + 1) & 1))) break;
        const std::optional<std::uint32_t> size = in.U32();
        if (!size) break;
        if ((*id == kThumbnailResource || *id == kThumbnailResourceOld) && *size >= kThumbnailHeaderBytes &&
            *size - kThumbnailHeaderBytes <= kMaxThumbnailBytes) {
            if (TakeThumbnail(in, *size, thumbnailPath)) return kOk;
            break;
        }
        if (!in.Skip(std::uint64_t{*size} + (*size & 1))) break;
    }
    return in.Position() == end && !in.Failed() ? kOk : kBadResourceSection;
}

// The resource's 28-byte header (format, sizes, bits per pixel, planes) is passed over; the
// JFIF stream after it is kept byte for byte. A stream cut short by the end of the file is not
// a thumbnail.
bool CPsdReader::TakeThumbnail(SequentialReader& in, std::uint32_t dataSize,
                               const std::filesystem::path& thumbnailPath) {
    if (!in.Skip(kThumbnailHeaderBytes)) return false;
    const std::uint32_t jpegBytes = dataSize - kThumbnailHeaderBytes;
    if (jpegBytes > in.Remaining()) return false;
    m_thumbnail.resize(jpegBytes);
    if (!in.Read(m_thumbnail)) {
        m_thumbnail.clear();
        return false;
    }
    m_bThumbnailFound = true;
    m_bThumbnailWritten = !thumbnailPath.empty() && WriteThumbnailFile(thumbnailPath, m_thumbnail);
    return true;
}

// How many channels the colour mode takes its colours from; 0 leaves the picture white.
int CPsdReader::ChannelsUsed(bool rle) const {
    int wanted = 0;
    switch (m_nMode) {
        case kModeGrayscale:
        case kModeDuotone:
            wanted = 1;
            break;
        case kModeIndexed:
            wanted = m_colourModeData.size() == kColourTableBytes ? 1 : 0;
            break;
        case kModeRgb:
        case kModeLab:
            wanted = 3;
            break;
        case kModeCmyk:
            wanted = 4;
            break;
        case kModeMultichannel:
            return rle && m_nChannels >= 3 ? std::min(m_nChannels, 4) : 0;
        default:
            return 0;
    }
    return m_nChannels >= wanted ? wanted : 0;
}

int CPsdReader::ReadImageData(SequentialReader& in) {
    const std::optional<std::uint16_t> compression = in.U16();
    if (!compression) return kImageDataCutShort;
    if (*compression == 2) return kZipData;
    if (*compression == 3) return kZipPredictionData;
    if (*compression > 1) return kUnknownCompression;
    if (m_nDepth == 1) return kBitmapDepth;
    if (m_nDepth != 8 && m_nDepth != 16) return kUnsupportedDepth;
    const bool rle = *compression == 1;

    const std::uint64_t pixels = std::uint64_t(m_nWidth) * std::uint64_t(m_nHeight);
    if (!imaging::IsAllowedSize(m_nWidth, m_nHeight)) return kNoBitmap;
    // Declared sizes are checked against the bytes the file still holds before anything is
    // allocated: raw planes must all be there, PackBits cannot expand more than 64-fold.
    const std::uint64_t planeBytes = pixels * static_cast<std::uint64_t>(m_nDepth / 8);
    const std::uint64_t allPlanes = planeBytes * static_cast<std::uint64_t>(m_nChannels);
    if (rle) {
        const std::uint64_t table = std::uint64_t(m_nChannels) * std::uint64_t(m_nHeight) * 2;
        if (!in.Skip(table)) return kImageDataCutShort;
        if (allPlanes > in.Remaining() * kPackBitsMaxGain) return kImageDataCutShort;
    } else if (allPlanes > in.Remaining()) {
        return kImageDataCutShort;
    }

    m_stride = (static_cast<std::size_t>(m_nWidth) * 3 + 3) & ~std::size_t{3};
    m_bitmap.assign(m_stride * static_cast<std::size_t>(m_nHeight), 0xFF);
    const int planes = ChannelsUsed(rle);
    const bool read = rle ? ReadPackBitsPlanes(in, planes) : ReadRawPlanes(in, planes);
    if (!read) {
        m_bitmap.clear();
        m_planes.clear();
        return kImageDataCutShort;
    }
    Paint(planes);
    m_planes.clear();
    return kOk;
}

bool CPsdReader::ReadRawPlanes(SequentialReader& in, int planes) {
    const std::size_t pixels = static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight);
    const std::size_t bytesPerSample = static_cast<std::size_t>(m_nDepth / 8);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(m_nWidth) * bytesPerSample);
    for (int c = 0; c < planes; ++c) {
        std::vector<std::uint8_t>& plane = m_planes.emplace_back(pixels);
        for (int y = 0; y < m_nHeight; ++y) {
            if (!in.Read(row)) return false;
            std::uint8_t* out =
                plane.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth);
            // Samples are big-endian: the first byte of each is its high byte.
            for (int x = 0; x < m_nWidth; ++x) out[x] = row[static_cast<std::size_t>(x) * bytesPerSample];
        }
    }
    return true;
}

// Each plane is one PackBits stream: a control byte n below 128 copies the next n + 1 bytes,
// above 128 repeats the next byte 257 - n times, 128 does nothing. A run that would pass the
// end of its plane is cut there.
bool CPsdReader::ReadPackBitsPlanes(SequentialReader& in, int planes) {
    const std::size_t pixels = static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight);
    const std::size_t bytesPerSample = static_cast<std::size_t>(m_nDepth / 8);
    const std::size_t planeBytes = pixels * bytesPerSample;
    std::uint8_t literal[128];
    for (int c = 0; c < planes; ++c) {
        std::vector<std::uint8_t>& plane = m_planes.emplace_back(pixels);
        std::size_t at = 0;  // byte position in the plane's samples
        const auto put = [&](std::uint8_t b) {
            if (at % bytesPerSample == 0) plane[at / bytesPerSample] = b;
            ++at;
        };
        while (at < planeBytes) {
            const std::optional<std::uint8_t> control = in.U8();
            if (!control) return false;
            const unsigned n = *control;
            if (n < 128) {
                const std::span<std::uint8_t> bytes(literal, n + 1);
                if (!in.Read(bytes)) return false;
                for (std::uint8_t b : bytes) {
                    if (at >= planeBytes) break;
                    put(b);
                }
            } else if (n > 128) {
                const std::optional<std::uint8_t> value = in.U8();
                if (!value) return false;
                for (unsigned i = 0; i < 257 - n && at < planeBytes; ++i) put(*value);
            }
        }
    }
    return true;
}

void CPsdReader::Paint(int planesRead) {
    if (planesRead == 0) return;
    const auto sample = [&](int channel, std::size_t i) {
        return m_planes[static_cast<std::size_t>(channel)][i];
    };
    for (int y = 0; y < m_nHeight; ++y) {
        std::uint8_t* out = m_bitmap.data() + static_cast<std::size_t>(m_nHeight - 1 - y) * m_stride;
        for (int x = 0; x < m_nWidth; ++x, out += 3) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                                  static_cast<std::size_t>(x);
            std::array<std::uint8_t, 3> rgb{};
            switch (m_nMode) {
                case kModeGrayscale:
                case kModeDuotone:
                    rgb = {sample(0, i), sample(0, i), sample(0, i)};
                    break;
                case kModeIndexed: {
                    const std::uint8_t index = sample(0, i);
                    rgb = {m_colourModeData[index], m_colourModeData[256 + index],
                           m_colourModeData[512 + index]};
                    break;
                }
                case kModeRgb:
                    rgb = {sample(0, i), sample(1, i), sample(2, i)};
                    break;
                case kModeCmyk:
                    rgb =
                        FromInks(Ink(sample(0, i)), Ink(sample(1, i)), Ink(sample(2, i)), Ink(sample(3, i)));
                    break;
                case kModeMultichannel:
                    rgb = FromInks(Ink(sample(0, i)), Ink(sample(1, i)), Ink(sample(2, i)),
                                   planesRead > 3 ? Ink(sample(3, i)) : 0.0);
                    break;
                case kModeLab:
                    rgb = FromLab(sample(0, i), sample(1, i), sample(2, i));
                    break;
                default:
                    continue;
            }
            out[0] = rgb[2];
            out[1] = rgb[1];
            out[2] = rgb[0];
        }
    }
}

std::optional<imaging::Image> CPsdReader::MakeImage() const {
    if (m_bitmap.empty()) return std::nullopt;
    return imaging::ImageFromBitmap24(m_bitmap, m_nWidth, m_nHeight, m_stride, true);
}

void CPsdReader::ReleaseBitmap() {
    m_bitmap.clear();
    m_bitmap.shrink_to_fit();
}

}  // namespace pelko::scan
