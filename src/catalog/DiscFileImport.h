#pragma once
// Adding disc files made elsewhere to the catalog: each chosen file is copied into the "Disk"
// folder, its header read, checked against the discs already catalogued, and filed as a new
// entry where the user says.

#include <filesystem>
#include <functional>
#include <span>

namespace pelko::catalog {

class CCD;
class CDiskInfo;
class CRootCategory;
class DiscStore;
class MessageLog;
class UserInterface;

enum class DiscHeaderRead { Ok, NotDiscFile, Unreadable };

// Reads the header of a disc file (a plain ".pkb", or a ".pkb.zip" holding one) into `header`:
// volume data, kind, folder path and statistics by the file's version. The folder tree is not
// read.
DiscHeaderRead ReadDiscFileHeader(const std::filesystem::path& file, CCD& header);

class DiscFileImport {
public:
    DiscFileImport(CRootCategory& root, DiscStore& discs, MessageLog& log, UserInterface& ui)
        : m_root(root), m_discs(discs), m_log(log), m_ui(ui) {}

    // Called with each entry right after it has joined its category.
    void ReportAddedTo(std::function<void(CDiskInfo&)> added) { m_added = std::move(added); }

    // Asks for the files to add, then adds each in turn. Returns how many entries were made.
    int Run();

    // Adds the given files in turn, asking for each where it goes. Returns how many entries were
    // made; stops early when the user confirms the question without choosing a category.
    int AddFiles(std::span<const std::filesystem::path> files);

private:
    enum class Outcome { Added, Skipped, Stop };
    Outcome AddFile(const std::filesystem::path& file);

    CRootCategory& m_root;
    DiscStore& m_discs;
    MessageLog& m_log;
    UserInterface& m_ui;
    std::function<void(CDiskInfo&)> m_added;
};

}  // namespace pelko::catalog
