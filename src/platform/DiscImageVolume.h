#pragma once
// A disc read without mounting it, as a Volume: an .iso image file or an optical device read
// sector by sector. Names handed out are model bytes and also serve as the entries' raw names.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Iso9660Reader.h"
#include "platform/Volume.h"

namespace pelko::platform {

class DiscImageVolume final : public Volume {
public:
    // `rootName` is the name the scan gives the root folder (model bytes): OpenFolder takes it,
    // or it followed by "/" and a path inside the disc. Null when the path holds no ISO 9660
    // file system.
    static std::unique_ptr<DiscImageVolume> Open(const std::filesystem::path& imageOrDevice,
                                                 std::string rootName);
    // Over bytes already open (tests, fuzzing).
    static std::unique_ptr<DiscImageVolume> Open(std::unique_ptr<ByteSource> source, std::string rootName,
                                                 std::uint64_t sessionStart = 0);

    std::unique_ptr<VolumeFolder> OpenFolder(std::string_view path) override;
    std::string RawName(std::string_view name) const override { return std::string(name); }

    IsoNames Names() const { return m_reader->Names(); }

private:
    DiscImageVolume(std::shared_ptr<Iso9660Reader> reader, std::string rootName)
        : m_reader(std::move(reader)), m_rootName(std::move(rootName)) {}

    std::shared_ptr<Iso9660Reader> m_reader;
    std::string m_rootName;
};

}  // namespace pelko::platform
