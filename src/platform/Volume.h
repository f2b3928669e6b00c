#pragma once
// What a scan reads a medium through: open a folder, enumerate it, look at an entry, open a
// sub-folder, read a file's bytes, copy a file out. The local file system implements it with
// directory descriptors; disc images implement it without mounting. Names handed to and from
// the scanner are model bytes (GB18030); each entry also carries its name as the medium stores
// it, which is what the folder's own operations take.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelko::platform {

struct VolumeEntry {
    std::string_view name;     // model bytes
    std::string_view rawName;  // as the medium names it
    bool isDirectory = false;  // a symbolic link is never a directory
};

struct EntryInfo {
    std::uint64_t size = 0;
    std::uint64_t creationTime = 0;  // FILETIME
};

class VolumeFolder {
public:
    virtual ~VolumeFolder() = default;

    // Visits every entry in the order the medium returns them, "." and ".." included. The
    // visitor returns false to stop early. The entry's views are valid during the call only.
    virtual void Enumerate(const std::function<bool(const VolumeEntry&)>& visit) = 0;

    // Size and creation time of an entry of this folder (links are not followed).
    virtual std::optional<EntryInfo> Stat(std::string_view rawName) = 0;

    // The sub-folder of that name, or null when it cannot be entered.
    virtual std::unique_ptr<VolumeFolder> OpenChild(std::string_view rawName) = 0;

    // Reads up to out.size() bytes of a file at `offset`; the number read, or nullopt on error.
    virtual std::optional<std::size_t> ReadAt(std::string_view rawName, std::uint64_t offset,
                                              std::span<std::uint8_t> out) = 0;

    // Copies a file of this folder to a local path, replacing what is there.
    virtual bool CopyTo(std::string_view rawName, const std::filesystem::path& destination) = 0;
};

class Volume {
public:
    virtual ~Volume() = default;
    // The folder at `path` (model bytes, as the user named it), or null.
    virtual std::unique_ptr<VolumeFolder> OpenFolder(std::string_view path) = 0;
    // A name in model bytes as the medium would store it (for records made by an earlier scan).
    virtual std::string RawName(std::string_view name) const = 0;
};

}  // namespace pelko::platform
