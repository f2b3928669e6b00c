#include "platform/UnmountedDisc.h"

#include "platform/DiscImageVolume.h"
#include "platform/UdfVolume.h"

namespace pelko::platform {

std::unique_ptr<Volume> OpenUnmountedDisc(const std::filesystem::path& imageOrDevice, std::string rootName) {
    if (auto iso = DiscImageVolume::Open(imageOrDevice, rootName)) return iso;
    return UdfVolume::Open(imageOrDevice, std::move(rootName));
}

}  // namespace pelko::platform
