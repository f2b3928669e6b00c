#pragma once
// Pictures for the icon keys of the catalog (the fixed keys such as "category" or "disk", and
// file names, whose extension decides). The models take a provider so that a view can serve
// its own image lists and tests can see which key a row asks for.

#include <QIcon>

#include <functional>
#include <string_view>

namespace pelko::ui {

using IconProvider = std::function<QIcon(std::string_view key)>;

// The desktop's pictures: a fixed key maps to an icon-theme name with our own
// ":/icons/<key>.svg" as fallback; a file name takes the theme icon of its MIME type (by
// extension only, nothing is read), else the generic icon of that type.
QIcon ThemeIconFor(std::string_view key);

// `source` asked once per fixed key or file extension; later requests are served from a cache
// owned by the returned provider (a view paints the same few pictures again and again).
IconProvider CachedIcons(IconProvider source);

}  // namespace pelko::ui
