#pragma once
// An in-memory medium whose folders return their entries in exactly the order they were
// added, "." and ".." first: lets walker tests fix the enumeration order and count entries.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Volume.h"

namespace pelko::test {

class FakeVolume final : public platform::Volume {
public:
    struct Node {
        std::string name;
        bool isDirectory = false;
        std::uint64_t size = 0;
        std::uint64_t time = 0;
        std::string content;
        std::vector<std::unique_ptr<Node>> children;
        bool unreadable = false;  // a folder that cannot be entered
    };

    explicit FakeVolume(std::string rootPath);

    // Adds an entry below the folder at `folderPath` ("" for the root, "a/b" below it).
    Node& AddFolder(std::string_view folderPath, std::string_view name);
    Node& AddFile(std::string_view folderPath, std::string_view name, std::uint64_t size = 0,
                  std::uint64_t time = 0, std::string content = {});
    Node& Find(std::string_view folderPath);

    std::unique_ptr<platform::VolumeFolder> OpenFolder(std::string_view path) override;
    std::string RawName(std::string_view name) const override { return std::string(name); }

    int openCount = 0;  // folders opened so far

private:
    std::string m_rootPath;
    Node m_root;
};

}  // namespace pelko::test
