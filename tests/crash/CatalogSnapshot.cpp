#include "crash/CatalogSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <iomanip>
#include <sstream>

#include "catalog/CArchive.h"
#include "catalog/CCD.h"
#include "catalog/CCategory.h"
#include "catalog/CPelkoDoc.h"
#include "catalog/DiscStore.h"
#include "settings/SettingsStore.h"
#include "catalog/ZipStore.h"
#include "cli/Command.h"
#include "cli/DiscPrinter.h"
#include "platform/WholeFile.h"
#include "support/Pictures.h"
#include "support/RecordingLog.h"
#include "support/Sha256.h"
#include "support/TempDir.h"
#include "text/Codec.h"

namespace pelko::test {

namespace fs = std::filesystem;
using catalog::CCategory;
using catalog::CDiskInfo;

namespace {

constexpr std::string_view kPoison = "POISON";

// The catalog file as the program reads it: with its header, else as an old file without one.
std::unique_ptr<catalog::CRootCategory> ReadCatalog(const fs::path& file, catalog::CFindHistory& history) {
    std::vector<std::uint8_t> bytes;
    if (platform::ReadWholeFile(file, bytes) != platform::WholeFileRead::Ok) return nullptr;
    for (const bool header : {true, false}) {
        auto root = std::make_unique<catalog::CRootCategory>();
        history = {};
        if (catalog::ReadCatalogBytes(bytes, header, *root, history) == catalog::CatalogRead::Ok) {
            root->m_strName = "Pelko";
            return root;
        }
    }
    return nullptr;
}

void ForEachEntry(const CCategory& category, const std::function<void(const CDiskInfo&)>& visit) {
    for (const auto& entry : category.Entries()) visit(*entry);
    for (const auto& sub : category.Subcategories()) ForEachEntry(*sub, visit);
}

void ForEachCategory(const CCategory& category, const std::function<void(const CCategory&)>& visit) {
    visit(category);
    for (const auto& sub : category.Subcategories()) ForEachCategory(*sub, visit);
}

// A temporary file of an interrupted save: the target's name, ".tmp" and six characters.
bool IsTemporary(const fs::path& file) {
    const std::string name = file.filename().native();
    const std::size_t at = name.rfind(".tmp");
    return at != std::string::npos && at + 10 == name.size() &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(at) + 4, name.end(),
                       [](unsigned char c) { return std::isalnum(c); });
}

std::string Hex12(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return Sha256Hex({data, bytes.size()}).substr(0, 12);
}

std::string LogText(const RecordingLog& log) {
    std::string text;
    for (const auto& [kind, line] : log.Lines()) text += " " + text::ToUtf8(line);
    return text;
}

}  // namespace

InProcessRun RunInProcess(const fs::path& folder, const std::vector<std::string>& args,
                          const std::string& password) {
    std::vector<std::string> all{"--catalog", folder.native(), "--password-stdin"};
    all.insert(all.end(), args.begin(), args.end());
    std::istringstream in(password + "\n");
    std::ostringstream out;
    std::ostringstream err;
    settings::MemorySettingsStore settings;
    const int status = cli::RunCli(all, in, out, err, settings, false);
    return {status, out.str(), err.str()};
}

CatalogSnapshot TakeSnapshot(const fs::path& folder, const std::set<std::string>* known) {
    CatalogSnapshot snapshot;
    catalog::CFindHistory history;
    const std::unique_ptr<catalog::CRootCategory> root = ReadCatalog(folder / "tnk.dat", history);
    if (!root) {
        snapshot.faults.push_back("the catalog file tnk.dat cannot be read");
        return snapshot;
    }
    catalog::CFindHistory backupHistory;
    if (fs::exists(folder / "tnk.dat.bak") && !ReadCatalog(folder / "tnk.dat.bak", backupHistory))
        snapshot.faults.push_back("the backup tnk.dat.bak cannot be read");

    snapshot.password = text::ToUtf8(root->m_strPassword);
    const InProcessRun tree = RunInProcess(folder, {"tree"}, snapshot.password);
    if (tree.status != 0) snapshot.faults.push_back("pelko-cli tree fails: " + tree.err);
    snapshot.tree = tree.out;

    ForEachCategory(*root, [&](const CCategory& category) {
        snapshot.categories[text::ToUtf8(category.Path())] = text::ToUtf8(category.m_strMemo);
    });

    RecordingLog log;
    catalog::DiscStore store(folder, log);
    ForEachEntry(*root, [&](const CDiskInfo& entry) {
        const std::string label = text::ToUtf8(entry.m_strVolumeLabel);
        const std::string name = label + "|" + std::to_string(entry.m_dwVolumeSerial);
        snapshot.discNames.insert(name);
        const bool isNew = known && !known->contains(name);
        std::string key = isNew ? label + "|new" : name;
        while (snapshot.entries.contains(key)) key += "+";  // two entries naming one disc

        std::ostringstream identity;
        identity << text::ToUtf8(entry.m_strName) << " | memo " << text::ToUtf8(entry.m_strMemo) << " | kind "
                 << unsigned{entry.m_nKind} << " | folder " << text::ToUtf8(entry.m_strFolderPath);
        std::ostringstream stats;
        stats << std::setprecision(17) << entry.m_dScanBytes << " scanned, " << entry.m_dCurrentBytes
              << " now, " << entry.m_nFileCount << " files, " << entry.m_nFolderCount << " folders";
        snapshot.entries[key] = {text::ToUtf8(catalog::EntryPath(entry)), identity.str(), stats.str()};

        const fs::path plain = store.PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        const fs::path zip = store.ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        const std::unique_ptr<catalog::CCD> cd = store.Open(entry);
        if (!cd) {
            const bool none = !fs::exists(plain) && !fs::exists(zip);
            snapshot.faults.push_back("the disc file of " + text::ToUtf8(catalog::EntryPath(entry)) +
                                      (none ? " is gone: no " + plain.filename().native() + "(.zip)"
                                            : " does not open:" + LogText(log)));
        } else {
            std::ostringstream json;
            cli::PrintDiscJson(json, *cd);
            std::string text = json.str();
            const std::string serialField = "\"serial\":" + std::to_string(cd->m_dwVolumeSerial);
            if (const std::size_t at = text.find(serialField); isNew && at != std::string::npos)
                text.replace(at, serialField.size(), "\"serial\":\"new\"");
            snapshot.discs[key] = text;
        }
        for (const fs::path& file : {plain, zip}) {
            if (!fs::exists(file)) continue;
            const InProcessRun dump = RunInProcess(folder, {"dump", "--summary", file.native()});
            if (dump.status != 0)
                snapshot.faults.push_back(file.filename().native() + " does not open: " + dump.err);
        }
        const fs::path pictures = store.PictureFolder(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        std::error_code ec;
        if (fs::is_directory(pictures, ec)) {
            for (const auto& item : fs::recursive_directory_iterator(pictures)) {
                if (!item.is_regular_file() || IsTemporary(item.path())) continue;
                const std::vector<std::uint8_t> bytes = FileBytes(item.path());
                snapshot.pictures[key + "/" + item.path().lexically_relative(pictures).native()] =
                    Sha256Hex(bytes);
            }
        }
    });

    for (const auto& [path, memo] : snapshot.categories)
        if ((path + memo).find(kPoison) != std::string::npos)
            snapshot.faults.push_back("category " + path + " shows a temporary file");
    for (const auto& [key, entry] : snapshot.entries)
        if (entry.identity.find(kPoison) != std::string::npos)
            snapshot.faults.push_back("entry " + entry.path + " shows a temporary file");
    for (const auto& [key, disc] : snapshot.discs)
        if (disc.find(kPoison) != std::string::npos)
            snapshot.faults.push_back("disc " + key + " was read from a temporary file");
    return snapshot;
}

std::string CatalogSnapshot::Describe() const {
    std::ostringstream out;
    for (const std::string& fault : faults) out << "FAULT " << fault << '\n';
    out << "password '" << password << "'\n";
    std::istringstream treeLines(tree);
    for (std::string line; std::getline(treeLines, line);) out << "tree " << line << '\n';
    for (const auto& [path, memo] : categories) out << "category " << path << " memo '" << memo << "'\n";
    for (const auto& [key, entry] : entries)
        out << "entry " << key << " at " << entry.path << ": " << entry.identity << " | " << entry.stats
            << '\n';
    for (const auto& [key, disc] : discs) out << "disc " << key << " content " << Hex12(disc) << '\n';
    for (const auto& [key, hash] : pictures) out << "thumbnail " << key << ' ' << hash.substr(0, 12) << '\n';
    return out.str();
}

void PlantPoisonedTemporaries(const fs::path& folder) {
    catalog::CFindHistory history;
    const std::unique_ptr<catalog::CRootCategory> root = ReadCatalog(folder / "tnk.dat", history);
    if (!root) return;
    RecordingLog log;
    catalog::DiscStore store(folder, log);
    ForEachEntry(*root, [&](const CDiskInfo& entry) {
        const std::unique_ptr<catalog::CCD> cd = store.Open(entry);
        if (!cd) return;
        cd->m_strReadme = std::string(kPoison);
        std::vector<std::uint8_t> bytes;
        catalog::CArchive ar(bytes, catalog::CArchive::Mode::Store);
        cd->Serialize(ar);
        const fs::path plain = store.PlainPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        fs::path poisonedPlain = plain;
        poisonedPlain += ".tmpPOISON";
        WriteFileBytes(poisonedPlain, bytes);
        fs::path poisonedZip = store.ZipPath(entry.m_strVolumeLabel, entry.m_dwVolumeSerial);
        poisonedZip += ".tmpPOISON";
        catalog::WriteZipWithFile(poisonedZip, text::FromUtf8(plain.filename().native()), poisonedPlain);
    });
    root->m_strMemo = std::string(kPoison);
    const std::vector<std::uint8_t> bytes = catalog::CatalogBytes(*root, history);
    WriteFileBytes(folder / "tnk.dat.tmpPOISON", bytes);
}

void CopyFolder(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const auto& item : fs::recursive_directory_iterator(from)) {
        const fs::path target = to / item.path().lexically_relative(from);
        if (item.is_symlink()) {
            fs::copy_symlink(item.path(), target);
        } else if (item.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::copy_file(item.path(), target);
            struct stat st {};
            if (::stat(item.path().c_str(), &st) == 0) {
                const timespec times[2] = {st.st_atim, st.st_mtim};
                ::utimensat(AT_FDCWD, target.c_str(), times, 0);
            }
        }
    }
}

std::vector<fs::path> TemporaryFiles(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& item : fs::recursive_directory_iterator(folder))
        if (IsTemporary(item.path())) found.push_back(item.path());
    return found;
}

}  // namespace pelko::test
