#include "export/ExportedTexts.h"

#include <algorithm>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/WholeFile.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::exporting {

namespace fs = std::filesystem;

bool IsExportedTextName(std::string_view fileName) { return fileName.find(".txt") != std::string_view::npos; }

bool ExportedTextBefore(const ExportedTextNode& a, const ExportedTextNode& b) {
    if (a.folder != b.folder) return a.folder;
    const int order = text::CompareNoCase(a.name, b.name);
    if (order != 0) return order < 0;
    return a.name < b.name;  // names equal but for case: a fixed order all the same
}

std::vector<ExportedTextNode> ListExportedTexts(const fs::path& folder) {
    std::vector<ExportedTextNode> nodes;
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    std::size_t taken = 0;
    for (; !error && it != fs::directory_iterator() && taken < kMaxExportedEntries; it.increment(error)) {
        ++taken;
        const fs::directory_entry& entry = *it;
        const std::string fileName = entry.path().filename().string();
        std::error_code statusError;
        const bool link = entry.is_symlink(statusError);
        if (entry.is_directory(statusError) && !link) {
            nodes.push_back({entry.path(), text::FromUtf8(fileName), true, {}});
        } else if (entry.is_regular_file(statusError) && IsExportedTextName(fileName)) {
            nodes.push_back({entry.path(), text::FromUtf8(fileName), false, {}});
        }
    }
    std::sort(nodes.begin(), nodes.end(), ExportedTextBefore);
    for (ExportedTextNode& node : nodes) {
        if (node.folder) node.children = ListExportedTexts(node.path);
    }
    return nodes;
}

std::optional<std::string> ReadExportedText(const fs::path& file) {
    std::vector<std::uint8_t> bytes;
    if (platform::ReadWholeFile(file, bytes) != platform::WholeFileRead::Ok) return std::nullopt;
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r') {
            out.push_back('\n');
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool WriteExportedText(const fs::path& file, std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(c);
    }
    return platform::ReplaceFileContent(file, bytes, platform::Durability::ProcessCrash);
}

}  // namespace pelko::exporting
