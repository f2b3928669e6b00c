#pragma once
// The 16 x 16 icons that program files bring from their disc (catalog::IconImage, extracted
// while scanning): which file rows show one, the conversion to a Qt picture, and a cache so
// that each picture is converted once however often its rows are painted.
//
// The icon's bytes come from a disc file, possibly one written elsewhere or damaged. The
// record's fixed 16 x 16 array is the only size ever used, and an icon with no visible pixel
// (an empty list, zero cx/cy, everything masked) counts as none, so the row keeps the icon of
// its file type instead of showing an empty square.

#include <QIcon>
#include <QImage>

#include <cstddef>
#include <unordered_map>

#include "catalog/ImageList.h"

namespace pelko::catalog {
class CFileInfo;
}

namespace pelko::ui {

// The icon as a 16 x 16 ARGB32 image (its own copy of the pixels); null when no pixel shows.
QImage ProgramIconImage(const catalog::IconImage& icon);

// The stored icon a file row shows in place of the icon of its type: a ".exe" file (any case)
// that holds one. Null for other files and for program files without an icon.
const catalog::IconImage* ProgramIconOf(const catalog::CFileInfo& file);

// Converted icons, keyed by their pixels rather than by the record's address: a record freed
// when its disc closes can never lend its stale picture to a new record at the same address,
// and the many programs that share one icon share one conversion. A lookup hashes and compares
// the 1 KiB of pixels, far cheaper than converting again. UI thread only (QIcon).
class ProgramIconCache {
public:
    // The icon as a QIcon, converted on the first request; a null QIcon when no pixel shows.
    QIcon IconOf(const catalog::IconImage& icon);
    // Forgets every conversion (the catalog objects were replaced or a disc was closed).
    void Clear() { m_icons.clear(); }
    std::size_t Size() const { return m_icons.size(); }

private:
    struct PixelHash {
        std::size_t operator()(const catalog::IconImage& icon) const;
    };
    std::unordered_map<catalog::IconImage, QIcon, PixelHash> m_icons;
};

}  // namespace pelko::ui
