#include "cli/DiscPrinter.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "catalog/CCD.h"
#include "cli/TerminalLog.h"
#include "text/Codec.h"

namespace pelko::cli {

using catalog::CCD;
using catalog::CDir;

namespace {

std::string_view KindName(std::uint8_t kind) {
    switch (kind) {
        case CCD::kKindDisk:
            return "disk";
        case CCD::kKindFixedDisk:
            return "fixeddisk";
        case CCD::kKindFixedDir:
            return "fixeddir";
        default:
            return "unkown";
    }
}

std::string Number(double value) {
    char buffer[64];
    if (std::isfinite(value) && std::fabs(value) < 9.0e15 && value == std::floor(value)) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else if (std::isfinite(value)) {
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
    } else {
        return "null";  // JSON has no infinities or NaN
    }
    return buffer;
}

// Builds the JSON text in a buffer that is handed to the stream in large pieces.
class JsonOut {
public:
    explicit JsonOut(std::ostream& out) : m_out(out) { m_buffer.reserve(kChunk * 2); }
    ~JsonOut() { Flush(); }

    JsonOut& Raw(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() >= kChunk) Flush();
        return *this;
    }
    JsonOut& Key(std::string_view key) {
        Raw("\"").Raw(key).Raw("\":");
        return *this;
    }
    JsonOut& String(std::string_view modelText) {
        const std::string utf8 = text::ToUtf8(modelText);
        m_buffer += '"';
        for (const char c : utf8) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                m_buffer += '\\';
                m_buffer += c;
            } else if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                m_buffer += escaped;
            } else {
                m_buffer += c;
            }
        }
        m_buffer += '"';
        return Raw({});
    }
    JsonOut& Unsigned(std::uint64_t value) { return Raw(std::to_string(value)); }
    JsonOut& Double(double value) { return Raw(Number(value)); }

    void Flush() {
        m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_buffer.clear();
    }

private:
    static constexpr std::size_t kChunk = 1 << 16;
    std::ostream& m_out;
    std::string m_buffer;
};

void FolderJson(JsonOut& json, const CDir& dir) {
    json.Raw("{").Key("name").String(dir.m_strName);
    json.Raw(",").Key("memo").String(dir.m_strMemo);
    json.Raw(",").Key("dirKind").Unsigned(dir.m_nDirKind);
    json.Raw(",").Key("files").Raw("[");
    bool first = true;
    for (const auto& file : dir.Files()) {
        json.Raw(first ? "{" : ",{");
        first = false;
        json.Key("name").String(file->m_strName);
        json.Raw(",").Key("memo").String(file->m_strMemo);
        json.Raw(",").Key("size").Unsigned(file->Size());
        json.Raw(",").Key("time").Unsigned(file->m_ftTime);
        json.Raw(",").Key("hasIcon").Raw(file->HasIcon() ? "true" : "false");
        json.Raw("}");
    }
    json.Raw("],").Key("dirs").Raw("[");
    first = true;
    for (const auto& sub : dir.Subdirs()) {
        if (!first) json.Raw(",");
        first = false;
        FolderJson(json, *sub);
    }
    json.Raw("]}");
}

void FolderListing(std::ostream& out, const CDir& dir, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const auto& sub : dir.Subdirs()) {
        out << indent << TerminalText(sub->m_strName)
            << (sub->m_nDirKind == CDir::kKindArchive ? " [archive]/" : "/");
        if (!sub->m_strMemo.empty()) out << "  # " << TerminalText(sub->m_strMemo);
        out << '\n';
        FolderListing(out, *sub, depth + 1);
    }
    for (const auto& file : dir.Files()) {
        out << indent << TerminalText(file->m_strName) << "  " << file->Size();
        if (!file->m_strMemo.empty()) out << "  # " << TerminalText(file->m_strMemo);
        out << '\n';
    }
}

}  // namespace

void PrintDiscJson(std::ostream& out, const CCD& cd) {
    JsonOut json(out);
    json.Raw("{").Key("label").String(cd.m_strVolumeLabel);
    json.Raw(",").Key("serial").Unsigned(cd.m_dwVolumeSerial);
    json.Raw(",").Key("maxComponentLength").Unsigned(cd.m_dwMaxComponentLength);
    json.Raw(",").Key("fileSystemFlags").Unsigned(cd.m_dwFileSystemFlags);
    json.Raw(",").Key("fileSystem").String(cd.m_strFileSystem);
    json.Raw(",").Key("version").Unsigned(cd.m_nVersionRead);
    json.Raw(",").Key("kind").Unsigned(cd.m_nKind);
    json.Raw(",").Key("readme").String(cd.m_strReadme);
    json.Raw(",").Key("folderPath").String(cd.m_strFolderPath);
    json.Raw(",").Key("scanBytes").Double(cd.m_dScanBytes);
    json.Raw(",").Key("currentBytes").Double(cd.m_dCurrentBytes);
    json.Raw(",").Key("fileCount").Unsigned(cd.m_nFileCount);
    json.Raw(",").Key("folderCount").Unsigned(cd.m_nFolderCount);
    json.Raw(",").Key("root");
    FolderJson(json, cd);
    json.Raw("}\n");
}

void PrintDiscListing(std::ostream& out, const CCD& cd) {
    out << "label: " << TerminalText(cd.m_strVolumeLabel) << '\n'
        << "serial: " << cd.m_dwVolumeSerial << '\n'
        << "kind: " << unsigned{cd.m_nKind} << " (" << KindName(cd.m_nKind) << ")\n"
        << "file system: " << TerminalText(cd.m_strFileSystem) << '\n';
    if (!cd.m_strFolderPath.empty()) out << "folder: " << TerminalText(cd.m_strFolderPath) << '\n';
    out << "files: " << cd.m_nFileCount << ", folders: " << cd.m_nFolderCount
        << ", bytes: " << Number(cd.m_dCurrentBytes) << '\n'
        << "readme: " << TerminalText(cd.m_strReadme) << "\n\n";
    FolderListing(out, cd, 0);
}

void PrintDiscSummary(std::ostream& out, const CCD& cd) {
    double bytes = 0;
    std::uint32_t files = 0;
    std::uint32_t folders = 0;
    cd.Accumulate(bytes, files, folders);
    out << "label: " << TerminalText(cd.m_strVolumeLabel) << '\n'
        << "serial: " << cd.m_dwVolumeSerial << '\n'
        << "kind: " << unsigned{cd.m_nKind} << " (" << KindName(cd.m_nKind) << ")\n"
        << "files: " << files << '\n'
        << "folders: " << folders << '\n'
        << "bytes: " << Number(bytes) << '\n';
}

}  // namespace pelko::cli
