#include "support/FakeVolume.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace pelko::test {

namespace {

class FakeFolder final : public platform::VolumeFolder {
public:
    FakeFolder(FakeVolume::Node& node, int& openCount) : m_node(node), m_openCount(openCount) {
        ++m_openCount;
    }

    void Enumerate(const std::function<bool(const platform::VolumeEntry&)>& visit) override {
        if (!visit({".", ".", true}) || !visit({"..", "..", true})) return;
        for (const auto& child : m_node.children)
            if (!visit({child->name, child->name, child->isDirectory})) return;
    }

    std::optional<platform::EntryInfo> Stat(std::string_view rawName) override {
        const FakeVolume::Node* child = Child(rawName);
        if (!child) return std::nullopt;
        return platform::EntryInfo{child->size, child->time};
    }

    std::unique_ptr<platform::VolumeFolder> OpenChild(std::string_view rawName) override {
        FakeVolume::Node* child = Child(rawName);
        if (!child || !child->isDirectory || child->unreadable) return nullptr;
        return std::make_unique<FakeFolder>(*child, m_openCount);
    }

    std::optional<std::size_t> ReadAt(std::string_view rawName, std::uint64_t offset,
                                      std::span<std::uint8_t> out) override {
        const FakeVolume::Node* child = Child(rawName);
        if (!child || child->isDirectory) return std::nullopt;
        if (offset >= child->content.size()) return 0;
        const std::size_t n = std::min<std::size_t>(out.size(), child->content.size() - offset);
        std::memcpy(out.data(), child->content.data() + offset, n);
        return n;
    }

    bool CopyTo(std::string_view rawName, const std::filesystem::path& destination) override {
        const FakeVolume::Node* child = Child(rawName);
        if (!child || child->isDirectory) return false;
        std::ofstream out(destination, std::ios::binary | std::ios::trunc);
        out << child->content;
        return static_cast<bool>(out);
    }

private:
    FakeVolume::Node* Child(std::string_view name) {
        for (const auto& child : m_node.children)
            if (child->name == name) return child.get();
        return nullptr;
    }

    FakeVolume::Node& m_node;
    int& m_openCount;
};

}  // namespace

FakeVolume::FakeVolume(std::string rootPath) : m_rootPath(std::move(rootPath)) { m_root.isDirectory = true; }

FakeVolume::Node& FakeVolume::Find(std::string_view folderPath) {
    Node* node = &m_root;
    while (!folderPath.empty()) {
        const std::size_t slash = folderPath.find('/');
        const std::string_view part = folderPath.substr(0, slash);
        const auto it = std::find_if(node->children.begin(), node->children.end(),
                                     [&](const auto& c) { return c->name == part && c->isDirectory; });
        if (it == node->children.end()) throw std::logic_error("no such fake folder");
        node = it->get();
        folderPath = slash == std::string_view::npos ? std::string_view() : folderPath.substr(slash + 1);
    }
    return *node;
}

FakeVolume::Node& FakeVolume::AddFolder(std::string_view folderPath, std::string_view name) {
    auto node = std::make_unique<Node>();
    node->name = name;
    node->isDirectory = true;
    return *Find(folderPath).children.emplace_back(std::move(node));
}

FakeVolume::Node& FakeVolume::AddFile(std::string_view folderPath, std::string_view name, std::uint64_t size,
                                      std::uint64_t time, std::string content) {
    auto node = std::make_unique<Node>();
    node->name = name;
    node->size = size;
    node->time = time;
    node->content = std::move(content);
    return *Find(folderPath).children.emplace_back(std::move(node));
}

std::unique_ptr<platform::VolumeFolder> FakeVolume::OpenFolder(std::string_view path) {
    if (path != m_rootPath || m_root.unreadable) return nullptr;
    return std::make_unique<FakeFolder>(m_root, openCount);
}

}  // namespace pelko::test
