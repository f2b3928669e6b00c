#include "imaging/GifDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <gif_lib.h>

namespace pelko::imaging {

namespace {

// LZW packs at most about 1400 pixels into a byte (codes of 12 bits standing for ever longer
// strings until the table of 4096 is full); a frame declaring more than that cannot be filled
// by the file. The screen around the frame costs the file nothing, so it may be larger, within
// bounds; a screen beyond them is dropped and the frame drawn alone.
constexpr std::int64_t kPixelsPerByte = 1400;
constexpr std::int64_t kBasePixels = std::int64_t{1} << 16;
constexpr std::int64_t kScreenPerFramePixels = 16;
constexpr std::int64_t kBaseScreenPixels = std::int64_t{1} << 20;

struct Reader {
    std::span<const std::uint8_t> file;
    std::size_t at = 0;
};

int Read(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(wanted, 0)),
                                                reader->file.size() - reader->at);
    std::memcpy(out, reader->file.data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Rows of an interlaced frame arrive in four passes: every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

std::optional<Image> DecodeFirstFrame(GifFileType* gif, std::size_t fileSize) {
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return std::nullopt;
        if (type == TERMINATE_RECORD_TYPE) return std::nullopt;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return std::nullopt;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                transparent = (block[1] & 1) ? block[4] : -1;
            }
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return std::nullopt;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return std::nullopt;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return std::nullopt;
        break;
    }

    const GifImageDesc& frame = gif->Image;
    if (frame.Width < 1 || frame.Height < 1) return std::nullopt;
    const std::int64_t framePixels = std::int64_t{frame.Width} * frame.Height;
    if (!IsAllowedSize(frame.Width, frame.Height) ||
        framePixels > kBasePixels + static_cast<std::int64_t>(fileSize) * kPixelsPerByte)
        return std::nullopt;
    int width = gif->SWidth;
    int height = gif->SHeight;
    int left = frame.Left;
    int top = frame.Top;
    if (width < 1 || height < 1 ||
        std::int64_t{width} * height > kBaseScreenPixels + framePixels * kScreenPerFramePixels) {
        width = frame.Width;
        height = frame.Height;
        left = 0;
        top = 0;
    }
    std::optional<Image> image = Image::Create(width, height);
    if (!image) return std::nullopt;

    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    for (int row : RowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return std::nullopt;
        const int y = top + row;
        if (y < 0 || y >= height) continue;
        std::uint8_t* out = image->Row(y);
        for (int x = 0; x < frame.Width; ++x) {
            const int cx = left + x;
            if (cx < 0 || cx >= width) continue;
            const int index = line[static_cast<std::size_t>(x)];
            if (index == transparent) continue;
            std::uint8_t* p = out + static_cast<std::size_t>(cx) * 3;
            if (map && index < map->ColorCount) {
                const GifColorType& c = map->Colors[index];
                p[0] = c.Red;
                p[1] = c.Green;
                p[2] = c.Blue;
            } else {
                // No colour table: the indexes read as grey levels.
                p[0] = p[1] = p[2] = static_cast<std::uint8_t>(index);
            }
        }
    }
    return image;
}

}  // namespace

std::optional<Image> DecodeGif(std::span<const std::uint8_t> file) {
    if (file.size() < 13) return std::nullopt;
    Reader reader{file};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, Read, &error));
    if (!gif) return std::nullopt;
    try {
        return DecodeFirstFrame(gif.get(), file.size());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace pelko::imaging
