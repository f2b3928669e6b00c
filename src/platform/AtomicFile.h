#pragma once
// Replaces a file without ever leaving a torn one: the new content goes to a temporary file in
// the same folder, is flushed to the disk, and is renamed over the target. Until Commit()
// succeeds the old file stays untouched; a temporary file left uncommitted is removed.

#include <filesystem>

namespace pelko::platform {

class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
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
    std::filesystem::path m_temp;
    int m_fd = -1;
    bool m_committed = false;
};

}  // namespace pelko::platform
