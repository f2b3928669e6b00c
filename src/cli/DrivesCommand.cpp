#include "cli/DrivesCommand.h"

#include <algorithm>
#include <ostream>

#include "cli/TerminalLog.h"
#include "platform/DrivePort.h"
#include "platform/MountTable.h"
#include "platform/OpticalDevice.h"
#include "platform/VolumeInformation.h"
#include "shell/DriveDoors.h"

namespace pelko::cli {

namespace {

std::string_view TypeName(platform::DriveType type) {
    switch (type) {
        case platform::DriveType::Optical:
            return "optical";
        case platform::DriveType::Fixed:
            return "fixed";
        case platform::DriveType::Removable:
            return "removable";
        case platform::DriveType::Network:
            return "network";
        case platform::DriveType::Other:
            return "other";
    }
    return "other";
}

std::string_view StatusName(platform::DriveStatus status) {
    switch (status) {
        case platform::DriveStatus::NoDisc:
            return "no disc";
        case platform::DriveStatus::TrayOpen:
            return "tray open";
        case platform::DriveStatus::NotReady:
            return "not ready";
        case platform::DriveStatus::DiscOk:
            return "disc";
        case platform::DriveStatus::Unknown:
            return "unknown";
    }
    return "unknown";
}

void PrintVolume(std::ostream& out, const std::optional<platform::VolumeInformation>& info) {
    if (!info) {
        out << "  label ?  serial ?";
        return;
    }
    out << "  label \"" << TerminalText(info->label) << "\"  serial " << platform::FormatSerial(info->serial)
        << "  " << info->fileSystem;
}

}  // namespace

int DrivesCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (!args.empty()) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    const std::vector<platform::MountedVolume> volumes = platform::ReadMountedVolumes();
    const std::vector<platform::OpticalDrive> drives = platform::ListOpticalDrives();
    context.out << "optical drives:\n";
    if (drives.empty()) context.out << "  (this machine has no optical drive)\n";
    for (const platform::OpticalDrive& drive : drives) {
        const platform::DriveStatus status = platform::QueryDriveStatus(drive.device);
        context.out << "  " << drive.device << "  " << StatusName(status);
        if (!drive.model.empty()) context.out << "  [" << drive.model << "]";
        if (status == platform::DriveStatus::DiscOk) {
            PrintVolume(context.out, platform::ReadVolumeInformation(drive.device));
            if (const auto point = platform::MountPointOf(volumes, drive.device))
                context.out << "  " << *point;
        }
        context.out << '\n';
    }
    context.out << "mounted volumes:\n";
    for (const platform::MountedVolume& volume : volumes) {
        if (volume.type == platform::DriveType::Other || volume.type == platform::DriveType::Optical)
            continue;
        context.out << "  " << TypeName(volume.type) << "  " << volume.mount.mountPoint << "  "
                    << volume.mount.source;
        PrintVolume(context.out, platform::ReadVolumeInformation(volume.mount.mountPoint));
        context.out << '\n';
    }
    return kExitOk;
}

int TrayCommand::Execute(CliContext& context, std::span<const std::string> args) {
    if (args.size() > 1) {
        context.err << "usage: pelko-cli " << Synopsis() << '\n';
        return kExitUsage;
    }
    platform::SystemDrivePort port;
    const std::vector<platform::OpticalDrive> drives = port.Drives();
    if (drives.empty()) {
        context.err << "pelko-cli: this machine has no optical drive\n";
        return kExitFailure;
    }
    std::string device = args.empty() ? drives.front().device : args[0];
    shell::DriveDoors doors(port);
    if (m_open) {
        doors.OpenDrive(device);
    } else {
        // The tray closes through its command number, as the menus and hot keys do.
        const auto drive = std::find_if(drives.begin(), drives.end(),
                                        [&](const platform::OpticalDrive& d) { return d.device == device; });
        const std::optional<int> number =
            drive == drives.end() ? std::nullopt : shell::DoorCommandNumber(false, drive->number);
        if (!number) {
            context.err << "pelko-cli: " << device << " is no optical drive of this machine\n";
            return kExitFailure;
        }
        doors.RunCommand(*number);
    }
    return kExitOk;
}

}  // namespace pelko::cli
