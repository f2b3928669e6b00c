#include "support/PsdBuilder.h"

namespace pelko::test {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}
void Append(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::vector<std::uint8_t> PackBitsRow(std::span<const std::uint8_t> row) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t literal = 0;
        while (i + literal < row.size() && literal < 128) {
            const std::size_t at = i + literal;
            if (at + 2 < row.size() && row[at] == row[at + 1] && row[at] == row[at + 2]) break;
            ++literal;
        }
        out.push_back(static_cast<std::uint8_t>(literal - 1));
        Append(out, row.subspan(i, literal));
        i += literal;
    }
    return out;
}

std::vector<std::uint8_t> BuildPsd(const PsdLayout& layout) {
    std::vector<std::uint8_t> out(layout.signature.begin(), layout.signature.end());
    Put16(out, layout.version);
    out.insert(out.end(), 6, 0);
    Put16(out, layout.channels);
    Put32(out, layout.height);
    Put32(out, layout.width);
    Put16(out, layout.depth);
    Put16(out, layout.mode);
    Put32(out, static_cast<std::uint32_t>(layout.colourModeData.size()));
    Append(out, layout.colourModeData);

    std::vector<std::uint8_t> resources = layout.resourcePrefix;
    for (const PsdResource& r : layout.resources) {
        Append(resources, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("8BIM"), 4));
        Put16(resources, r.id);
        resources.push_back(static_cast<std::uint8_t>(r.name.size()));
        resources.insert(resources.end(), r.name.begin(), r.name.end());
        if ((r.name.size() + 1) % 2) resources.push_back(0);
        Put32(resources, static_cast<std::uint32_t>(r.data.size()));
        Append(resources, r.data);
        if (r.data.size() % 2) resources.push_back(0);
    }
    Put32(out, static_cast<std::uint32_t>(resources.size()));
    Append(out, resources);
    Put32(out, static_cast<std::uint32_t>(layout.layers.size()));
    Append(out, layout.layers);

    Put16(out, layout.compression);
    if (layout.compression != 1) {
        for (const auto& plane : layout.planes) Append(out, plane);
        return out;
    }
    const std::size_t rowBytes = std::size_t{layout.width} * (layout.depth / 8u);
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint8_t> data;
    for (const auto& plane : layout.planes) {
        for (std::size_t at = 0; at + rowBytes <= plane.size() && rowBytes > 0; at += rowBytes) {
            const std::vector<std::uint8_t> packed = PackBitsRow(std::span(plane).subspan(at, rowBytes));
            Put16(lengths, static_cast<std::uint32_t>(packed.size()));
            Append(data, packed);
        }
    }
    Append(out, lengths);
    Append(out, data);
    return out;
}

std::vector<std::uint8_t> ThumbnailResourceData(std::span<const std::uint8_t> jpeg, int width, int height) {
    std::vector<std::uint8_t> data;
    Put32(data, 1);  // format: JFIF
    Put32(data, static_cast<std::uint32_t>(width));
    Put32(data, static_cast<std::uint32_t>(height));
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 24 + 31) / 32 * 4;
    Put32(data, rowBytes);
    Put32(data, rowBytes * static_cast<std::uint32_t>(height));
    Put32(data, static_cast<std::uint32_t>(jpeg.size()));
    Put16(data, 24);
    Put16(data, 1);
    Append(data, jpeg);
    return data;
}

std::vector<std::vector<std::uint8_t>> UniformPlanes(std::initializer_list<std::uint8_t> values,
                                                     std::size_t pixels) {
    std::vector<std::vector<std::uint8_t>> planes;
    for (std::uint8_t v : values) planes.emplace_back(pixels, v);
    return planes;
}

}  // namespace pelko::test
