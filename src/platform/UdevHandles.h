#pragma once
// Owners of libudev handles, and a device's properties as a map.

#include <libudev.h>

#include <memory>

#include "platform/OpticalDrives.h"

namespace pelko::platform {

struct UdevUnref {
    void operator()(udev* p) const { udev_unref(p); }
    void operator()(udev_enumerate* p) const { udev_enumerate_unref(p); }
    void operator()(udev_device* p) const { udev_device_unref(p); }
    void operator()(udev_monitor* p) const { udev_monitor_unref(p); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevUnref>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevUnref>;

inline DeviceProperties UdevProperties(udev_device* device) {
    DeviceProperties properties;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(device)) {
        const char* value = udev_list_entry_get_value(entry);
        properties.emplace(udev_list_entry_get_name(entry), value ? value : "");
    }
    return properties;
}

}  // namespace pelko::platform
