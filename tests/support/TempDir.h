#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace pelko::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view relative) const { return m_path / relative; }

    // Writes a file (creating its folders) and returns its path.
    std::filesystem::path WriteFile(std::string_view relative, std::string_view content) const;
    std::filesystem::path MakeFolder(std::string_view relative) const;

private:
    std::filesystem::path m_path;
};

// Writes bytes to a file given by its full path, creating its folders.
void WriteFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace pelko::test
