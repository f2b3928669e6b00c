#pragma once
// Filing a finished scan, the part of the scan's end that both front ends share: recount the
// disc, write its disc file, then update the entry that was scanned again or add a new entry,
// and say so. Runs on the thread that owns the catalog.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pelko::catalog {
class CCD;
class CCategory;
class CDiskInfo;
class CPelkoDoc;
class DiscStore;
class MessageLog;
class UserInterface;
}  // namespace pelko::catalog

namespace pelko::shell {

struct FilingServices {
    catalog::CPelkoDoc& doc;
    catalog::DiscStore& discs;
    catalog::MessageLog& log;
    catalog::UserInterface& ui;
};

// Where a scan goes: the entry scanned again, or a new entry of `name` and `memo` (model bytes)
// in `category`. Both pointers must be valid now: look them up just before filing.
struct FilingTarget {
    catalog::CDiskInfo* existing = nullptr;
    catalog::CCategory* category = nullptr;
    std::string name;
    std::string memo;
    // A new entry is announced in a message box; otherwise as a hint in the message log.
    bool announceNewEntry = true;
};

struct FiledScan {
    catalog::CDiskInfo* entry = nullptr;
    std::filesystem::path zip;
};

// Recounts the disc, writes its disc file (compressed) and then files it. The disc file is
// written first, so an entry never points at a file that failed to save; when it cannot be
// written the user is asked to make room and retry. Nothing after the reason was reported.
std::optional<FiledScan> FileScan(const FilingServices& services, std::unique_ptr<catalog::CCD> cd,
                                  const FilingTarget& target);

// A new scan object the user chose not to file: its disc file goes, and its thumbnail folder
// too when nothing was written into it. Nothing is removed while a catalog entry still names
// the same label and serial, whose stored disc that file would be.
void DiscardUnfiledScan(const FilingServices& services, std::string_view label, std::uint32_t serial);

// The failure line of a scan that delivered nothing, by its kind (disc, partition, folder).
std::string ScanFailedText(std::uint8_t kind);

}  // namespace pelko::shell
