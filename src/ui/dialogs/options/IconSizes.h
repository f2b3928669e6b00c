#pragma once
// The five sizes offered for the list view's large icons (thumbnail cells), shared by the icon
// display dialog and the size box of the main window's second tool bar so both list the same
// entries in the same order.

#include <span>
#include <string_view>

namespace pelko::ui {

struct IconSize {
    std::string_view text;  // as the lists show it (ASCII)
    int width;
    int height;
};

// Largest first; the last entry's text has two blanks after "64", as the size box has always
// shown it.
inline constexpr IconSize kLargeIconSizes[] = {
    {"320 x 240", 320, 240}, {"240 x 180", 240, 180}, {"160 x 120", 160, 120},
    {"102 x 77", 102, 77},   {"64  x 48", 64, 48},
};

std::span<const IconSize> LargeIconSizes();

// The index of the entry with this width, or -1 when none has it. Entries are told apart by their
// width alone: no two share one.
int IconSizeIndexForWidth(int width);

}  // namespace pelko::ui
