#pragma once
// Replaces a file without ever leaving a torn one: the new content goes to a temporary file in
// the same folder, is flushed to the disk, and is renamed over the target. Until Commit()
// succeeds the old file stays untouched; a temporary file left uncommitted is removed.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace pelko::platform {

// What a committed file survives. Every file survives the program being killed at any moment;
// with Durable it also survives the machine losing power, at the cost of flushing it and its
// folder to the disk (worth it for the catalog and disc files, not for each thumbnail).
enum class Durability { Durable, ProcessCrash };

class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target, Durability durability = Durability::Durable);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file, open for writing. False when it cannot be made.
    bool Create();
    // The open temporary file (valid after a successful Create until Commit).
    int Descriptor() const { return m_fd; }
    const std::filesystem::path& TemporaryPath() const { return m_temp; }
    const std::filesystem::path& Target() const { return m_target; }

    // Flushes and closes the temporary file (whoever wrote it), then renames it over the
    // target and flushes the folder. False on any failure; the target is then unchanged.
    bool Commit();

    // As Commit, but gives the temporary file the target's name only when nothing of that name
    // exists; an existing file is left as it is.
    enum class NoReplace { Committed, Exists, Failed };
    NoReplace CommitNoReplace();

private:
    bool FlushTemporary();
    void FlushFolder() const;

    std::filesystem::path m_target;
    Durability m_durability;
    std::filesystem::path m_temp;
    int m_fd = -1;
    bool m_committed = false;
};

// Writes `bytes` as the whole new content of `file` through an AtomicFile. False when it could
// not be written; an older file of that name is then untouched.
bool ReplaceFileContent(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                        Durability durability = Durability::Durable);
bool ReplaceFileContent(const std::filesystem::path& file, std::string_view bytes,
                        Durability durability = Durability::Durable);

// The process's file-creation mask. umask() can only be read by setting it, and a mask set to 0
// even for a moment gives files that other threads create meanwhile every permission; so it is
// read from /proc once and remembered (the program never changes it).
mode_t ProcessUmask();

}  // namespace pelko::platform
