#pragma once
// The drive window's decision for a chosen volume: an optical drive is scanned as a disc (kind
// 0) from its device, a fixed, removable or network volume as a partition (kind 1) from its
// mount point, anything else is refused with "%s 不是光驱或硬盘，不能扫描".

#include <cstdint>
#include <string>

#include "platform/MountTable.h"

namespace pelko::shell {

struct DriveScanChoice {
    bool accepted = false;
    std::uint8_t kind = 0;
    std::string root;   // what the scan reads (file-system path)
    std::string error;  // model bytes, when refused
};

DriveScanChoice ChooseDriveScan(const platform::MountedVolume& volume);

}  // namespace pelko::shell
