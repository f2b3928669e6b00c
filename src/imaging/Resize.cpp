#include "imaging/Resize.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace pelko::imaging {

namespace {

// The source pixels one target pixel covers, with the share of each.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> AreaSpans(int from, int to) {
    std::vector<Span> spans(static_cast<std::size_t>(to));
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double start = i * scale;
        const double end = std::min<double>(from, (i + 1) * scale);
        Span& span = spans[static_cast<std::size_t>(i)];
        span.first = std::min(from - 1, static_cast<int>(start));
        const int last = std::max(span.first, std::min(from - 1, static_cast<int>(std::ceil(end)) - 1));
        double total = 0;
        for (int j = span.first; j <= last; ++j) {
            const double w = std::max(0.0, std::min<double>(end, j + 1) - std::max<double>(start, j));
            span.weights.push_back(static_cast<float>(w));
            total += w;
        }
        if (total <= 0) {
            span.weights.assign(1, 1.0f);
            continue;
        }
        for (float& w : span.weights) w = static_cast<float>(w / total);
    }
    return spans;
}

void ScaleRow(const std::uint8_t* in, const std::vector<Span>& spans, float* out) {
    for (const Span& span : spans) {
        const std::uint8_t* p = in + static_cast<std::size_t>(span.first) * 3;
        float r = 0, g = 0, b = 0;
        for (float w : span.weights) {
            r += w * p[0];
            g += w * p[1];
            b += w * p[2];
            p += 3;
        }
        out[0] = r;
        out[1] = g;
        out[2] = b;
        out += 3;
    }
}

std::uint8_t ToSample(float v) { return static_cast<std::uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f)); }

}  // namespace

std::optional<Image> ScaleSmooth(const Image& image, int width, int height) {
    std::optional<Image> out = Image::Create(width, height);
    if (!out || image.Width() < 1 || image.Height() < 1) return std::nullopt;
    try {
        const std::vector<Span> columns = AreaSpans(image.Width(), width);
        const std::vector<Span> rows = AreaSpans(image.Height(), height);
        const std::size_t rowFloats = static_cast<std::size_t>(width) * 3;
        std::vector<float> scaled(rowFloats);
        std::vector<float> sum(rowFloats);
        // Each source row is scaled across once per target row it contributes to; a row is
        // shared by at most two neighbouring target rows when shrinking.
        for (int y = 0; y < height; ++y) {
            const Span& span = rows[static_cast<std::size_t>(y)];
            std::fill(sum.begin(), sum.end(), 0.0f);
            for (std::size_t k = 0; k < span.weights.size(); ++k) {
                ScaleRow(image.Row(span.first + static_cast<int>(k)), columns, scaled.data());
                const float w = span.weights[k];
                for (std::size_t i = 0; i < rowFloats; ++i) sum[i] += w * scaled[i];
            }
            std::uint8_t* target = out->Row(y);
            for (std::size_t i = 0; i < rowFloats; ++i) target[i] = ToSample(sum[i]);
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return out;
}

Size FittedSize(Size declared, Size box) {
    const std::int64_t w = declared.width;
    const std::int64_t h = declared.height;
    if (w <= box.width && h <= box.height) return declared;
    std::int64_t fw = 0;
    std::int64_t fh = 0;
    // (W / H) * h > w, compared in integers so that no rounding decides the branch.
    if (std::int64_t{box.width} * h > w * box.height) {
        fw = w * box.height / h;
        fh = box.height;
    } else {
        fw = box.width;
        fh = h * box.width / w;
    }
    return Size{static_cast<int>(std::max<std::int64_t>(1, fw)),
                static_cast<int>(std::max<std::int64_t>(1, fh))};
}

std::optional<Image> FitThumbnail(const Image& image, Size box) {
    if (box.width < 1 || box.height < 1) return std::nullopt;
    const Size declared = image.DeclaredSize();
    const Size fitted = FittedSize(declared, box);
    std::optional<Image> scaled;
    const Image* picture = &image;
    if (fitted != image.PixelSize()) {
        scaled = ScaleSmooth(image, fitted.width, fitted.height);
        if (!scaled) return std::nullopt;
        picture = &*scaled;
    }
    std::optional<Image> canvas = Image::Create(box.width, box.height, 255);
    if (!canvas) return std::nullopt;
    const int copyWidth = std::min(picture->Width(), box.width);
    const int copyHeight = std::min(picture->Height(), box.height);
    const int left = (box.width - copyWidth) / 2;
    const int top = (box.height - copyHeight) / 2;
    for (int y = 0; y < copyHeight; ++y) {
        std::copy_n(picture->Row(y), static_cast<std::size_t>(copyWidth) * 3,
                    canvas->Row(top + y) + left * 3);
    }
    return canvas;
}

}  // namespace pelko::imaging
