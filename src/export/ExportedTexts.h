#pragma once
// The exported text files as the edit-and-print window shows and edits them: the folder tree of
// the export (folders and text files only, folders first, then files, each group by name without
// regard to case), and reading and writing one text file.
//
// A text file is in the model's code page with CR LF line ends. Read, its lines end in LF (the
// form an editor holds); written, they end in CR LF again, through a temporary file renamed over
// the old one, so a failed write never leaves half a file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelko::exporting {

struct ExportedTextNode {
    std::filesystem::path path;  // on disk
    std::string name;            // the file or folder name as model bytes
    bool folder = false;
    std::vector<ExportedTextNode> children;  // folders only
};

// At most this many entries of one folder are taken.
inline constexpr std::size_t kMaxExportedEntries = 65535;

// Whether a file of this name is one of the export's text files: its name holds ".txt".
bool IsExportedTextName(std::string_view fileName);

// The sub-folders and text files of `folder`, each sub-folder filled in turn. Links to folders are
// not followed (a link back up would never end), unreadable folders stay empty.
std::vector<ExportedTextNode> ListExportedTexts(const std::filesystem::path& folder);

// Folders before files; within each group by name, letters compared without regard to case.
bool ExportedTextBefore(const ExportedTextNode& a, const ExportedTextNode& b);

// The file's bytes with CR LF (and lone CR) turned into LF; nullopt when it cannot be read.
std::optional<std::string> ReadExportedText(const std::filesystem::path& file);

// Replaces the file's content by `text` (model bytes) with every line end written as CR LF.
// False when it could not be written; the old file is then unchanged.
bool WriteExportedText(const std::filesystem::path& file, std::string_view text);

}  // namespace pelko::exporting
