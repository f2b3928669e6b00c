#include "platform/OpticalDrives.h"

#include <libudev.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "platform/UdevHandles.h"

namespace pelko::platform {

std::optional<int> OpticalDriveNumber(std::string_view kernelName) {
    if (!kernelName.starts_with("sr") || kernelName.size() == 2) return std::nullopt;
    int number = 0;
    const char* end = kernelName.data() + kernelName.size();
    const auto [ptr, error] = std::from_chars(kernelName.data() + 2, end, number);
    if (error != std::errc() || ptr != end || number < 0) return std::nullopt;
    return number;
}

std::optional<OpticalDrive> OpticalDriveFromProperties(std::string_view kernelName, std::string_view devNode,
                                                       const DeviceProperties& properties) {
    const auto cdrom = properties.find("ID_CDROM");
    if (cdrom == properties.end() || cdrom->second != "1") return std::nullopt;
    const std::optional<int> number = OpticalDriveNumber(kernelName);
    if (!number) return std::nullopt;
    OpticalDrive drive;
    drive.number = *number;
    drive.device = devNode.empty() ? OpticalDeviceName(*number) : std::string(devNode);
    const auto media = properties.find("ID_CDROM_MEDIA");
    drive.hasMedium = media != properties.end() && media->second == "1";
    for (const char* key : {"ID_VENDOR", "ID_MODEL"}) {
        const auto found = properties.find(key);
        if (found == properties.end() || found->second.empty()) continue;
        if (!drive.model.empty()) drive.model += ' ';
        drive.model += found->second;
    }
    std::replace(drive.model.begin(), drive.model.end(), '_', ' ');
    return drive;
}

std::vector<OpticalDrive> ListOpticalDrives() {
    std::vector<OpticalDrive> drives;
    const UdevPtr udev(udev_new());
    if (!udev) return drives;
    const UdevEnumeratePtr enumerate(udev_enumerate_new(udev.get()));
    if (!enumerate) return drives;
    udev_enumerate_add_match_subsystem(enumerate.get(), "block");
    udev_enumerate_add_match_property(enumerate.get(), "ID_CDROM", "1");
    if (udev_enumerate_scan_devices(enumerate.get()) < 0) return drives;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        const UdevDevicePtr device(udev_device_new_from_syspath(udev.get(), udev_list_entry_get_name(entry)));
        if (!device) continue;
        const char* sysName = udev_device_get_sysname(device.get());
        const char* devNode = udev_device_get_devnode(device.get());
        if (auto drive = OpticalDriveFromProperties(sysName ? sysName : "", devNode ? devNode : "",
                                                    UdevProperties(device.get())))
            drives.push_back(std::move(*drive));
    }
    std::sort(drives.begin(), drives.end(),
              [](const OpticalDrive& a, const OpticalDrive& b) { return a.number < b.number; });
    return drives;
}

std::string OpticalDeviceName(int number) { return "/dev/sr" + std::to_string(number); }

}  // namespace pelko::platform
