#pragma once
// The local file system as a Volume: folders are directory descriptors, entries come from
// getdents64, metadata from statx without following links, names are UTF-8 on the disk.

#include "platform/Volume.h"

namespace pelko::platform {

class LocalVolume final : public Volume {
public:
    std::unique_ptr<VolumeFolder> OpenFolder(std::string_view path) override;
    std::string RawName(std::string_view name) const override;
};

}  // namespace pelko::platform
