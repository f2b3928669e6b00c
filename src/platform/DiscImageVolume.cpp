#include "platform/DiscImageVolume.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "platform/AtomicFile.h"
#include "platform/OpticalDevice.h"
#include "platform/WriteAll.h"

namespace pelko::platform {

namespace {

class DiscFolder final : public VolumeFolder {
public:
    DiscFolder(std::shared_ptr<Iso9660Reader> reader, std::vector<IsoEntry> entries)
        : m_reader(std::move(reader)), m_entries(std::move(entries)) {
        m_byName.reserve(m_entries.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i) m_byName.emplace(m_entries[i].name, i);
    }

    void Enumerate(const std::function<bool(const VolumeEntry&)>& visit) override {
        for (const IsoEntry& entry : m_entries)
            if (!visit(VolumeEntry{entry.name, entry.name, entry.isDirectory})) return;
    }

    std::optional<EntryInfo> Stat(std::string_view rawName) override {
        const IsoEntry* entry = Find(rawName);
        if (!entry) return std::nullopt;
        return EntryInfo{entry->isDirectory ? 0 : entry->size, entry->fileTime};
    }

    std::unique_ptr<VolumeFolder> OpenChild(std::string_view rawName) override {
        const IsoEntry* entry = Find(rawName);
        if (!entry || !entry->isDirectory) return nullptr;
        std::optional<std::vector<IsoEntry>> entries = m_reader->ReadFolder(*entry);
        if (!entries) return nullptr;
        return std::make_unique<DiscFolder>(m_reader, std::move(*entries));
    }

    std::optional<std::size_t> ReadAt(std::string_view rawName, std::uint64_t offset,
                                      std::span<std::uint8_t> out) override {
        const IsoEntry* entry = Find(rawName);
        if (!entry || entry->isDirectory) return std::nullopt;
        if (offset >= entry->size) return 0;
        if (out.size() > entry->size - offset)
            out = out.first(static_cast<std::size_t>(entry->size - offset));
        return m_reader->ReadFile(*entry, offset, out);
    }

    bool CopyTo(std::string_view rawName, const std::filesystem::path& destination) override {
        const IsoEntry* entry = Find(rawName);
        if (!entry || entry->isDirectory) return false;
        AtomicFile out(destination);
        if (!out.Create()) return false;
        std::vector<std::uint8_t> chunk(256 * 1024);
        for (std::uint64_t offset = 0; offset < entry->size;) {
            const std::optional<std::size_t> got = ReadAt(rawName, offset, chunk);
            if (!got || *got == 0) return false;
            if (!WriteAll(out.Descriptor(), std::span(chunk).first(*got))) return false;
            offset += *got;
        }
        return out.Commit();
    }

private:
    const IsoEntry* Find(std::string_view name) const {
        const auto found = m_byName.find(std::string(name));
        return found == m_byName.end() ? nullptr : &m_entries[found->second];
    }

    std::shared_ptr<Iso9660Reader> m_reader;
    std::vector<IsoEntry> m_entries;
    std::unordered_map<std::string, std::size_t> m_byName;
};

}  // namespace

std::unique_ptr<DiscImageVolume> DiscImageVolume::Open(const std::filesystem::path& imageOrDevice,
                                                       std::string rootName) {
    std::unique_ptr<FileByteSource> source = FileByteSource::Open(imageOrDevice);
    if (!source) return nullptr;
    const std::uint64_t sessionStart = LastSessionStart(source->Descriptor());
    return Open(std::move(source), std::move(rootName), sessionStart);
}

std::unique_ptr<DiscImageVolume> DiscImageVolume::Open(std::unique_ptr<ByteSource> source,
                                                       std::string rootName, std::uint64_t sessionStart) {
    std::unique_ptr<Iso9660Reader> reader = Iso9660Reader::Open(std::move(source), sessionStart);
    if (!reader) return nullptr;
    return std::unique_ptr<DiscImageVolume>(new DiscImageVolume(std::move(reader), std::move(rootName)));
}

std::unique_ptr<VolumeFolder> DiscImageVolume::OpenFolder(std::string_view path) {
    if (!path.starts_with(m_rootName)) return nullptr;
    std::string_view rest = path.substr(m_rootName.size());
    if (!rest.empty() && rest.front() != '/' && rest.front() != '\\') return nullptr;
    IsoEntry folder = m_reader->Root();
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const std::size_t end = std::min(rest.find_first_of("/\\"), rest.size());
        const std::string_view part = rest.substr(0, end);
        rest.remove_prefix(end);
        if (part.empty()) continue;
        const std::optional<std::vector<IsoEntry>> entries = m_reader->ReadFolder(folder);
        if (!entries) return nullptr;
        const auto found = std::find_if(entries->begin(), entries->end(), [&](const IsoEntry& e) {
            return e.isDirectory && e.name == part && e.name != "." && e.name != "..";
        });
        if (found == entries->end()) return nullptr;
        folder = *found;
    }
    std::optional<std::vector<IsoEntry>> entries = m_reader->ReadFolder(folder);
    if (!entries) return nullptr;
    return std::make_unique<DiscFolder>(m_reader, std::move(*entries));
}

}  // namespace pelko::platform
