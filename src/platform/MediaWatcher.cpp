#include "platform/MediaWatcher.h"

#include <algorithm>

#include "platform/UdevHandles.h"

namespace pelko::platform {

namespace {

bool Has(const DeviceProperties& properties, std::string_view key, std::string_view value) {
    const auto found = properties.find(key);
    return found != properties.end() && found->second == value;
}

}  // namespace

std::optional<MediaEvent> ClassifyMediaEvent(std::string_view action, std::string_view kernelName,
                                             std::string_view devNode, const DeviceProperties& properties) {
    if (action != "change" || !Has(properties, "ID_CDROM", "1")) return std::nullopt;
    const std::optional<int> number = OpticalDriveNumber(kernelName);
    if (!number) return std::nullopt;
    MediaEvent event;
    event.drive = *number;
    event.device = devNode.empty() ? OpticalDeviceName(*number) : std::string(devNode);
    const bool hasMedium = Has(properties, "ID_CDROM_MEDIA", "1");
    if (Has(properties, "DISK_EJECT_REQUEST", "1")) {
        event.change = MediaChange::Removed;
        return event;
    }
    if (!Has(properties, "DISK_MEDIA_CHANGE", "1")) return std::nullopt;
    event.change = hasMedium ? MediaChange::Inserted : MediaChange::Removed;
    return event;
}

struct MediaWatcher::Handles {
    UdevPtr udev;
    UdevMonitorPtr monitor;
};

MediaWatcher::MediaWatcher(std::unique_ptr<Handles> handles) : m_handles(std::move(handles)) {}
MediaWatcher::~MediaWatcher() = default;

std::unique_ptr<MediaWatcher> MediaWatcher::Start() {
    auto handles = std::make_unique<Handles>();
    handles->udev.reset(udev_new());
    if (!handles->udev) return nullptr;
    handles->monitor.reset(udev_monitor_new_from_netlink(handles->udev.get(), "udev"));
    if (!handles->monitor) return nullptr;
    if (udev_monitor_filter_add_match_subsystem_devtype(handles->monitor.get(), "block", "disk") < 0 ||
        udev_monitor_enable_receiving(handles->monitor.get()) < 0)
        return nullptr;
    return std::unique_ptr<MediaWatcher>(new MediaWatcher(std::move(handles)));
}

int MediaWatcher::Descriptor() const { return udev_monitor_get_fd(m_handles->monitor.get()); }

std::vector<MediaEvent> MediaWatcher::ReadEvents() {
    std::vector<MediaEvent> events;
    // The monitor's socket is non-blocking: receive returns null once nothing waits.
    while (const UdevDevicePtr device{udev_monitor_receive_device(m_handles->monitor.get())}) {
        const char* action = udev_device_get_action(device.get());
        const char* name = udev_device_get_sysname(device.get());
        const char* node = udev_device_get_devnode(device.get());
        if (auto event = ClassifyMediaEvent(action ? action : "", name ? name : "", node ? node : "",
                                            UdevProperties(device.get())))
            events.push_back(std::move(*event));
    }
    return events;
}

void PendingInsertions::Note(const MediaEvent& event, Clock::time_point now) {
    std::erase_if(m_waiting, [&](const Waiting& w) { return w.device == event.device; });
    if (event.change == MediaChange::Inserted) m_waiting.push_back({event.device, now});
}

std::vector<PendingInsertions::Ready> PendingInsertions::Poll(const std::vector<MountedVolume>& mounts,
                                                              Clock::time_point now) {
    std::vector<Ready> ready;
    std::erase_if(m_waiting, [&](const Waiting& w) {
        if (std::optional<std::string> point = MountPointOf(mounts, w.device)) {
            ready.push_back({w.device, std::move(point)});
            return true;
        }
        if (now - w.since >= m_timeout) {
            ready.push_back({w.device, std::nullopt});
            return true;
        }
        return false;
    });
    return ready;
}

}  // namespace pelko::platform
