#include "imaging/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include <jpeglib.h>

namespace pelko::imaging {

namespace {

// Progressive and multi-scan files keep every coefficient in memory; this bounds that store by
// the file's size, so a small hostile file cannot make the codec take gigabytes.
constexpr std::size_t kMinCodecMemory = std::size_t{32} << 20;
constexpr std::size_t kMaxCodecMemory = std::size_t{512} << 20;
constexpr std::size_t kCodecMemoryPerFileByte = 256;
// Even a flat picture takes a couple of bits per 8 x 8 block; a file declaring far more
// pixels than its bytes can describe is not believed before its picture is allocated.
constexpr std::int64_t kPixelsPerFileByte = 1024;
constexpr std::int64_t kBasePixels = std::int64_t{1} << 20;

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// the setjmp of the call that started the work. Only C frames of the codec lie in between.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void OnMessage(j_common_ptr, int) {}  // warnings (corrupt data, extraneous bytes) are ignored

// A progressive file may hold thousands of tiny scans, each of which makes the codec revisit
// every coefficient; real files have a dozen or so.
constexpr int kMaxScans = 1000;

void OnProgress(j_common_ptr info) {
    if (!info->is_decompressor) return;
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void InstallErrors(jpeg_common_struct& info, ErrorManager& errors) {
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnError;
    errors.pub.emit_message = OnMessage;
}

int ScaleFor(Size declared, Size wanted) {
    for (int num = 1; num < 8; ++num) {
        const std::int64_t w = (std::int64_t{declared.width} * num + 7) / 8;
        const std::int64_t h = (std::int64_t{declared.height} * num + 7) / 8;
        if (w >= wanted.width && h >= wanted.height) return num;
    }
    return 8;
}

// Everything the decoder touches after setjmp lives here, behind a pointer, so that its state
// is well defined after a jump back.
struct DecodeState {
    jpeg_decompress_struct info{};
    jpeg_progress_mgr progress{};
    ErrorManager errors{};
    std::optional<Image> image;
    std::vector<std::uint8_t> row;
    bool created = false;
};

bool RunDecode(DecodeState& s, std::span<const std::uint8_t> file, const CoverSize& cover) {
    jpeg_decompress_struct& info = s.info;
    InstallErrors(*reinterpret_cast<jpeg_common_struct*>(&info), s.errors);
    if (setjmp(s.errors.jump)) return false;
    jpeg_create_decompress(&info);
    s.created = true;
    s.progress.progress_monitor = OnProgress;
    info.progress = &s.progress;
    info.mem->max_memory_to_use = static_cast<long>(
        std::clamp(file.size() * kCodecMemoryPerFileByte, kMinCodecMemory, kMaxCodecMemory));
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    const Size declared{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    if (declared.width < 1 || declared.height < 1) return false;

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    info.scale_num = cover ? static_cast<unsigned>(ScaleFor(declared, cover(declared))) : 8;
    info.scale_denom = 8;
    jpeg_calc_output_dimensions(&info);
    if (!IsAllowedSize(info.output_width, info.output_height) ||
        std::int64_t{info.output_width} * info.output_height >
            kBasePixels + static_cast<std::int64_t>(file.size()) * kPixelsPerFileByte)
        return false;
    s.image = Image::Create(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!s.image) return false;
    s.image->SetDeclaredSize(declared);
    s.row.resize(static_cast<std::size_t>(info.output_width) * 4);

    jpeg_start_decompress(&info);
    // Adobe writes CMYK inverted (0 means full ink); other writers do not.
    const bool inverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        std::uint8_t* out = s.image->Row(y);
        JSAMPROW target = cmyk ? s.row.data() : out;
        if (jpeg_read_scanlines(&info, &target, 1) != 1) return false;
        if (!cmyk) continue;
        const std::uint8_t* in = s.row.data();
        for (JDIMENSION x = 0; x < info.output_width; ++x, in += 4, out += 3) {
            const unsigned k = inverted ? in[3] : 255u - in[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned ink = inverted ? in[c] : 255u - in[c];
                out[c] = static_cast<std::uint8_t>((ink * k + 127) / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

struct EncodeState {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;
};

bool RunEncode(EncodeState& s, const Image& image, int quality) {
    jpeg_compress_struct& info = s.info;
    InstallErrors(*reinterpret_cast<jpeg_common_struct*>(&info), s.errors);
    if (setjmp(s.errors.jump)) return false;
    jpeg_create_compress(&info);
    s.created = true;
    jpeg_mem_dest(&info, &s.buffer, &s.size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.Row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> file, const CoverSize& cover) {
    if (file.size() < 4) return std::nullopt;
    try {
        auto state = std::make_unique<DecodeState>();
        const bool ok = RunDecode(*state, file, cover);
        if (state->created) jpeg_destroy_decompress(&state->info);
        if (!ok) return std::nullopt;
        return std::move(state->image);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<Size> JpegDeclaredSize(std::span<const std::uint8_t> file) {
    if (file.size() < 4) return std::nullopt;
    auto state = std::make_unique<DecodeState>();
    jpeg_decompress_struct& info = state->info;
    std::optional<Size> size;
    InstallErrors(*reinterpret_cast<jpeg_common_struct*>(&info), state->errors);
    if (!setjmp(state->errors.jump)) {
        jpeg_create_decompress(&info);
        state->created = true;
        jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
        if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK)
            size = Size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    }
    if (state->created) jpeg_destroy_decompress(&info);
    return size;
}

std::optional<std::vector<std::uint8_t>> EncodeJpeg(const Image& image, int quality) {
    if (image.Width() < 1 || image.Height() < 1) return std::nullopt;
    try {
        auto state = std::make_unique<EncodeState>();
        const bool ok = RunEncode(*state, image, quality);
        if (state->created) jpeg_destroy_compress(&state->info);
        // The memory destination may have grown a buffer even when encoding failed.
        std::unique_ptr<unsigned char, decltype(&std::free)> buffer(state->buffer, &std::free);
        if (!ok || !buffer) return std::nullopt;
        return std::vector<std::uint8_t>(buffer.get(), buffer.get() + state->size);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace pelko::imaging
