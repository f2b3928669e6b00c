#pragma once
// What an export reports while it runs. The export window implements it (passing each call on
// to its own thread), pelko-cli prints, tests record. Calls come from the export worker's thread.

#include <filesystem>

namespace pelko::exporting {

// How an export ended.
enum class ExportEnd {
    Finished,     // everything asked for was written (scan objects that could not be loaded skipped)
    Stopped,      // the running flag was cleared; the scan object being written was not written
    CannotWrite,  // an output file could not be written; the export ended there
};

class ExportSink {
public:
    virtual ~ExportSink() = default;
    // The file about to be written (only while progress is shown).
    virtual void ShowPath(const std::filesystem::path& file) = 0;
    // 0 to 100 (only while progress is shown).
    virtual void SetProgress(int percent) = 0;
    // A file has been written in full.
    virtual void FileWritten(const std::filesystem::path& file) = 0;
    // The worker is done; the last call it makes.
    virtual void ExportFinished(ExportEnd end) = 0;
};

}  // namespace pelko::exporting
