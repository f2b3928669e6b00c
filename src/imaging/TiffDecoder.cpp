#include "imaging/TiffDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <tiffio.h>

namespace pelko::imaging {

namespace {

// Deflate packs at most about 1032 bytes into one; a page declaring many more pixels than
// that for each byte of the file cannot be backed by it.
constexpr std::int64_t kPixelsPerByte = 1100;
// No single buffer libtiff allocates while reading a page may exceed this.
constexpr tmsize_t kMaxCodecAllocation = tmsize_t{256} << 20;

struct MemoryFile {
    std::span<const std::uint8_t> bytes;
    toff_t at = 0;
};

tmsize_t ReadProc(thandle_t handle, void* out, tmsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (size <= 0 || file->at >= file->bytes.size()) return 0;
    const auto n =
        static_cast<tmsize_t>(std::min<toff_t>(static_cast<toff_t>(size), file->bytes.size() - file->at));
    std::memcpy(out, file->bytes.data() + file->at, static_cast<std::size_t>(n));
    file->at += static_cast<toff_t>(n);
    return n;
}
tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return -1; }
toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = file->at;
    else if (whence == SEEK_END)
        base = file->bytes.size();
    const toff_t target = base + offset;
    if (target > file->bytes.size()) return static_cast<toff_t>(-1);
    file->at = target;
    return target;
}
int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }
int MapProc(thandle_t handle, void** base, toff_t* size) {
    auto* file = static_cast<MemoryFile*>(handle);
    *base = const_cast<std::uint8_t*>(file->bytes.data());
    *size = file->bytes.size();
    return 1;
}
void UnmapProc(thandle_t, void*, toff_t) {}

// Diagnostics of a broken file are not the user's business: the picture simply gets no
// thumbnail. Returning 1 keeps libtiff from printing them.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

}  // namespace

std::optional<Image> DecodeTiff(std::span<const std::uint8_t> file) {
    if (file.size() < 8) return std::nullopt;
    std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) return std::nullopt;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxCodecAllocation);
    MemoryFile memory{file};
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFClientOpenExt("picture", "rm", &memory, ReadProc, WriteProc,
                                                             SeekProc, CloseProc, SizeProc, MapProc,
                                                             UnmapProc, options.get()));
    if (!tiff) return std::nullopt;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height))
        return std::nullopt;
    if (!IsAllowedSize(width, height) ||
        std::int64_t{width} * height > static_cast<std::int64_t>(file.size()) * kPixelsPerByte)
        return std::nullopt;
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff.get(), message)) return std::nullopt;
    try {
        std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
        if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 0))
            return std::nullopt;
        std::optional<Image> image = Image::Create(static_cast<int>(width), static_cast<int>(height));
        if (!image) return std::nullopt;
        const std::uint32_t* in = raster.data();
        for (std::uint32_t y = 0; y < height; ++y) {
            std::uint8_t* out = image->Row(static_cast<int>(y));
            for (std::uint32_t x = 0; x < width; ++x, ++in, out += 3) {
                // Premultiplied by alpha, so compositing on white adds white's share.
                const std::uint32_t a = TIFFGetA(*in);
                const std::uint32_t white = 255 - a;
                out[0] = static_cast<std::uint8_t>(std::min<std::uint32_t>(255, TIFFGetR(*in) + white));
                out[1] = static_cast<std::uint8_t>(std::min<std::uint32_t>(255, TIFFGetG(*in) + white));
                out[2] = static_cast<std::uint8_t>(std::min<std::uint32_t>(255, TIFFGetB(*in) + white));
            }
        }
        return image;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace pelko::imaging
