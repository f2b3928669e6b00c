#pragma once
// Hears discs arrive in and leave the optical drives: a udev monitor whose descriptor an event
// loop polls (QSocketNotifier, poll). An insertion is a "change" of an optical block device with
// DISK_MEDIA_CHANGE=1 and ID_CDROM_MEDIA=1; a removal is an eject request or a media change
// that leaves no medium. After an insertion the desktop's automounter may mount the disc:
// PendingInsertions follows each until its mount point appears or a time-out says to read the
// disc unmounted.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"

namespace pelko::platform {

enum class MediaChange { Inserted, Removed };

struct MediaEvent {
    MediaChange change = MediaChange::Inserted;
    int drive = 0;       // N of /dev/srN
    std::string device;  // "/dev/srN"
};

// The event a udev notice stands for, or nothing.
std::optional<MediaEvent> ClassifyMediaEvent(std::string_view action, std::string_view kernelName,
                                             std::string_view devNode, const DeviceProperties& properties);

class MediaWatcher {
public:
    // Null when udev cannot be listened to.
    static std::unique_ptr<MediaWatcher> Start();
    ~MediaWatcher();
    MediaWatcher(const MediaWatcher&) = delete;
    MediaWatcher& operator=(const MediaWatcher&) = delete;

    // Becomes readable when notices wait; non-blocking.
    int Descriptor() const;
    // The media events among the notices waiting now (never blocks).
    std::vector<MediaEvent> ReadEvents();

private:
    struct Handles;
    explicit MediaWatcher(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> m_handles;
};

// Discs inserted and waiting for their mount point.
class PendingInsertions {
public:
    using Clock = std::chrono::steady_clock;
    struct Ready {
        std::string device;
        std::optional<std::string> mountPoint;  // nothing: read it unmounted
    };

    explicit PendingInsertions(std::chrono::seconds timeout = std::chrono::seconds(30))
        : m_timeout(timeout) {}

    // Follows an insertion; a removal forgets the drive.
    void Note(const MediaEvent& event, Clock::time_point now);
    // The insertions that are now mounted or have waited long enough; they are forgotten.
    std::vector<Ready> Poll(const std::vector<MountedVolume>& mounts, Clock::time_point now);
    bool Empty() const { return m_waiting.empty(); }

private:
    struct Waiting {
        std::string device;
        Clock::time_point since;
    };
    std::chrono::seconds m_timeout;
    std::vector<Waiting> m_waiting;
};

}  // namespace pelko::platform
