#pragma once
// Opens a disc device or image for reading without mounting: through its ISO 9660 tree when it
// has one, else through UDF.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Volume.h"

namespace pelko::platform {

// Null when the path holds neither file system.
std::unique_ptr<Volume> OpenUnmountedDisc(const std::filesystem::path& imageOrDevice, std::string rootName);

}  // namespace pelko::platform
