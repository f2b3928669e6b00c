#include "ui/models/ProgramIcons.h"

#include <QPixmap>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>

#include "catalog/CFileInfo.h"
#include "shell/RowPictures.h"

namespace pelko::ui {

namespace {

bool AnyPixelShows(const catalog::IconImage& icon) {
    return std::any_of(icon.pixels.begin(), icon.pixels.end(),
                       [](std::uint32_t argb) { return (argb >> 24) != 0; });
}

}  // namespace

QImage ProgramIconImage(const catalog::IconImage& icon) {
    if (!AnyPixelShows(icon)) return {};
    constexpr int size = catalog::IconImage::kSize;
    static_assert(sizeof(icon.pixels) == std::size_t{size} * size * sizeof(std::uint32_t));
    // The pixels are 0xAARRGGBB words, which is QImage's ARGB32 on every byte order. The image
    // only borrows the array, so it is copied before the record can go away.
    return QImage(reinterpret_cast<const uchar*>(icon.pixels.data()), size, size,
                  size * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_ARGB32)
        .copy();
}

const catalog::IconImage* ProgramIconOf(const catalog::CFileInfo& file) { return shell::StoredProgramIcon(file); }

std::size_t ProgramIconCache::PixelHash::operator()(const catalog::IconImage& icon) const {
    const std::string_view bytes(reinterpret_cast<const char*>(icon.pixels.data()), sizeof(icon.pixels));
    return std::hash<std::string_view>{}(bytes);
}

QIcon ProgramIconCache::IconOf(const catalog::IconImage& icon) {
    if (const auto found = m_icons.find(icon); found != m_icons.end()) return found->second;
    const QImage image = ProgramIconImage(icon);
    QIcon converted = image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
    m_icons.emplace(icon, converted);
    return converted;
}

}  // namespace pelko::ui
