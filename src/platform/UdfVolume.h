#pragma once
// A UDF disc or image read through libudf without mounting, for media that carry no ISO 9660
// tree (DVDs and BDs written as UDF only). File data is read at any offset from the file's
// extent, so the scan's extras work as on a mounted disc; files libudf cannot place (data
// embedded in the file entry, several extents) are listed but not read.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Volume.h"

namespace pelko::platform {

class UdfVolume final : public Volume {
public:
    // Null when the path holds no UDF file system libudf can open.
    static std::unique_ptr<UdfVolume> Open(const std::filesystem::path& imageOrDevice, std::string rootName);
    ~UdfVolume() override;

    std::unique_ptr<VolumeFolder> OpenFolder(std::string_view path) override;
    std::string RawName(std::string_view name) const override { return std::string(name); }

    struct Disc;

private:
    UdfVolume(std::shared_ptr<Disc> disc, std::string rootName);
    std::shared_ptr<Disc> m_disc;
    std::string m_rootName;
};

}  // namespace pelko::platform
