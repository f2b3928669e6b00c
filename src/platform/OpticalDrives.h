#pragma once
// The machine's optical drives as udev knows them (block devices with ID_CDROM=1), numbered by
// their /dev/srN node: drive number n is the N of /dev/srN, the number the door commands use.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::platform {

struct OpticalDrive {
    int number = 0;          // N of /dev/srN
    std::string device;      // "/dev/sr0"
    std::string model;       // vendor and model as udev reports them, may be empty
    bool hasMedium = false;  // udev saw a medium (ID_CDROM_MEDIA=1)
};

using DeviceProperties = std::map<std::string, std::string, std::less<>>;

// N of a kernel name "srN", or nullopt for any other name.
std::optional<int> OpticalDriveNumber(std::string_view kernelName);

// The drive a udev block device stands for, or nullopt when it is no optical drive.
std::optional<OpticalDrive> OpticalDriveFromProperties(std::string_view kernelName, std::string_view devNode,
                                                       const DeviceProperties& properties);

// Every optical drive, ordered by number; empty when there is none or udev cannot be asked.
std::vector<OpticalDrive> ListOpticalDrives();

// The device node of drive number n ("/dev/srN").
std::string OpticalDeviceName(int number);

}  // namespace pelko::platform
