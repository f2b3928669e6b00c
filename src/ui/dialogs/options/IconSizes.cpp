#include "ui/dialogs/options/IconSizes.h"

namespace pelko::ui {

std::span<const IconSize> LargeIconSizes() { return kLargeIconSizes; }

int IconSizeIndexForWidth(int width) {
    const std::span<const IconSize> sizes = LargeIconSizes();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i].width == width) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace pelko::ui
