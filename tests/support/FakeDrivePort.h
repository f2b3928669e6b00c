#pragma once
// Optical drives for tests: a scripted list of drives whose door, mount and lock calls are
// recorded in order ("open /dev/sr0", "unmount /dev/sr1", "lock /dev/sr0", ...).

#include <algorithm>
#include <string>
#include <vector>

#include "platform/DrivePort.h"

namespace pelko::test {

class FakeDrivePort final : public platform::DrivePort {
public:
    std::vector<platform::OpticalDrive> drives;
    std::vector<std::string> mounted;
    bool unmountWorks = true;
    bool lockWorks = true;
    int mediumChecksLeft = 1000;  // the disc leaves after this many checks
    std::vector<std::string> calls;

    std::vector<platform::OpticalDrive> Drives() override { return drives; }
    bool IsMounted(const std::string& device) override {
        return std::find(mounted.begin(), mounted.end(), device) != mounted.end();
    }
    bool Unmount(const std::string& device) override {
        calls.push_back("unmount " + device);
        if (unmountWorks) std::erase(mounted, device);
        return unmountWorks;
    }
    bool OpenTray(const std::string& device) override {
        calls.push_back("open " + device);
        return true;
    }
    bool CloseTray(const std::string& device) override {
        calls.push_back("close " + device);
        return true;
    }
    bool LockTray(const std::string& device, bool locked) override {
        calls.push_back((locked ? "lock " : "unlock ") + device);
        return lockWorks;
    }
    bool HasMedium(const std::string&) override { return mediumChecksLeft-- > 0; }
};

}  // namespace pelko::test
