#pragma once
// Reads a Photoshop file for its thumbnail. When the file embeds a JPEG thumbnail (image
// resource 1033 or 1036) that stream is written unchanged to the thumbnail path and reading
// stops there; otherwise the merged picture at the end of the file is decoded into a 24-bit
// bitmap (raw or PackBits data, 8 or 16 bits a sample, grey, duotone, indexed, RGB, CMYK,
// multichannel and Lab pictures).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "imaging/Image.h"
#include "scan/ByteSource.h"

namespace pelko::scan {

class SequentialReader;

class CPsdReader {
public:
    // Results of Read.
    static constexpr int kOk = 0;
    static constexpr int kCannotOpen = -1;
    static constexpr int kBadHeader = -2;
    static constexpr int kBadColourModeData = -3;
    static constexpr int kBadResourceSection = -4;  // and no thumbnail was found in it
    static constexpr int kLayerSectionCutShort = -5;
    static constexpr int kImageDataCutShort = -6;
    static constexpr int kBitmapDepth = -7;
    static constexpr int kUnsupportedDepth = -8;
    static constexpr int kNoBitmap = -9;
    static constexpr int kZipData = -10;
    static constexpr int kZipPredictionData = -11;
    static constexpr int kUnknownCompression = -12;

    enum ColourMode : int {
        kModeBitmap = 0,
        kModeGrayscale = 1,
        kModeIndexed = 2,
        kModeRgb = 3,
        kModeCmyk = 4,
        kModeMultichannel = 7,
        kModeDuotone = 8,
        kModeLab = 9,
    };

    // Reads one file. `thumbnailPath` is where an embedded thumbnail goes (created or
    // emptied); with an empty path the thumbnail is only kept in memory. A source that is
    // null stands for a file that could not be opened.
    int Read(ByteSource* file, const std::filesystem::path& thumbnailPath);

    // After a successful Read: either a thumbnail was found ...
    bool ThumbnailFound() const { return m_bThumbnailFound; }
    // ... whether it reached the thumbnail path, and its bytes ...
    bool ThumbnailWritten() const { return m_bThumbnailWritten; }
    const std::vector<std::uint8_t>& ThumbnailJpeg() const { return m_thumbnail; }
    // ... or the merged picture was decoded: a bottom-up 24-bit bitmap of Width() x Height()
    // with rows of blue, green, red samples padded to 4 bytes.
    const std::vector<std::uint8_t>& Bitmap() const { return m_bitmap; }
    std::size_t BitmapStride() const { return m_stride; }
    // The decoded picture as an image; nothing when there is none.
    std::optional<imaging::Image> MakeImage() const;
    void ReleaseBitmap();

    int Channels() const { return m_nChannels; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int Depth() const { return m_nDepth; }
    int Mode() const { return m_nMode; }

private:
    int ReadHeader(SequentialReader& in);
    int ReadResources(SequentialReader& in, const std::filesystem::path& thumbnailPath);
    bool TakeThumbnail(SequentialReader& in, std::uint32_t dataSize,
                       const std::filesystem::path& thumbnailPath);
    int ReadImageData(SequentialReader& in);
    int ChannelsUsed(bool rle) const;
    bool ReadRawPlanes(SequentialReader& in, int planes);
    bool ReadPackBitsPlanes(SequentialReader& in, int planes);
    void Paint(int planesRead);

    int m_nChannels = 0;
    int m_nHeight = 0;
    int m_nWidth = 0;
    int m_nDepth = 0;
    int m_nMode = 0;
    std::vector<std::uint8_t> m_colourModeData;  // kept only when it is a 768-byte colour table
    bool m_bThumbnailFound = false;
    bool m_bThumbnailWritten = false;
    std::vector<std::uint8_t> m_thumbnail;
    std::vector<std::vector<std::uint8_t>> m_planes;  // the high byte of each sample, per channel
    std::vector<std::uint8_t> m_bitmap;
    std::size_t m_stride = 0;
};

}  // namespace pelko::scan
