#pragma once
// The keys of one icon list (small or large) and the positions of their pictures.
//
// Every item the views show has an icon chosen by a text key: the nine fixed keys below, and
// for files their extension. The list starts with the fixed keys at positions 0..8; a file
// extension the platform can give an icon for is appended the first time it is asked for. The
// registry holds no pictures: the platform side supplies them, in the same order.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pelko::catalog {

class CCategory;
class CCD;
class CDir;
class CDiskInfo;
class CFileInfo;

inline constexpr std::string_view kIconUnknown = "unkown";
inline constexpr std::string_view kIconCategory = "category";
inline constexpr std::string_view kIconDisk = "disk";
inline constexpr std::string_view kIconDiscInfo = "cdinfo";  // the readme row of a loaded disc
inline constexpr std::string_view kIconFixedDisk = "fixeddisk";
inline constexpr std::string_view kIconZipDir = "zipdir";
inline constexpr std::string_view kIconFixedDir = "fixeddir";
inline constexpr std::string_view kIconDir = "dir";
inline constexpr std::string_view kIconRarDir = "rardir";

// The fixed keys in the order of their pictures: the index is the position.
inline constexpr std::array<std::string_view, 9> kFixedIconKeys = {
    kIconUnknown, kIconCategory, kIconDisk, kIconDiscInfo, kIconFixedDisk,
    kIconZipDir,  kIconFixedDir, kIconDir,  kIconRarDir};

class IconKeys {
public:
    // Asked for a file extension not yet in the list (lower case, with its leading ".", e.g.
    // ".mp3") and the position its picture will take. Returns true when the platform supplied
    // a picture for files of that extension at that position; false leaves the list unchanged.
    using PlatformIcon = std::function<bool(std::string_view extension, int position)>;

    // Without a platform callback no extension is ever added.
    explicit IconKeys(PlatformIcon platformIcon = {});

    // Position of the picture for a key:
    //  1. the key is trimmed of white space and its letters A-Z lower-cased;
    //  2. a fixed key gives its position;
    //  3. otherwise the key is a file name: longer than 3 bytes, it is cut to the part from its
    //     last "." on (kept whole without one); a "." is put before a result that lacks it;
    //  4. a known extension gives its position; an unknown one is offered to the platform and
    //     appended when it supplies a picture, else the position of "unkown" is returned.
    int Position(std::string_view key);

    // Position of a key already in the list (exact, after no transformation), or -1.
    int Find(std::string_view key) const;

    // The keys by position: the fixed keys, then the extensions in the order they were added.
    const std::vector<std::string>& Keys() const { return m_keys; }
    std::size_t Count() const { return m_keys.size(); }

    // The extension a file-name key is looked up by (steps 1 and 3 above).
    static std::string ExtensionKey(std::string_view key);

private:
    PlatformIcon m_platformIcon;
    std::vector<std::string> m_keys;
    std::unordered_map<std::string, int> m_positions;
};

// The icon key of an item of the views. A file's key is its name; the extension rule of
// IconKeys::Position applies to it.
std::string_view IconKeyForKind(std::uint8_t kind);  // kind of a scan object
std::string_view IconKeyOf(const CCategory& category);
std::string_view IconKeyOf(const CDiskInfo& entry);
std::string_view IconKeyOf(const CDir& dir);  // a CCD gives the key of its kind
std::string_view IconKeyOf(const CFileInfo& file);

}  // namespace pelko::catalog
