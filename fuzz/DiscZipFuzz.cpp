// Opens a disc file from its ZIP, as a catalog does for an entry at rest.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalog/DiscStore.h"
#include "catalog/MessageLog.h"

namespace {

class NullLog final : public pelko::catalog::MessageLog {
public:
    void Post(pelko::catalog::MessageKind, std::string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        const fs::path f = fs::temp_directory_path() / ("pelko-zipfuzz-" + std::to_string(::getpid()));
        fs::create_directories(f / "Disk");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("pelko-zipfuzz-" + std::to_string(::getpid())), ec);
        });
        return f;
    }();
    const fs::path zip = folder / "Disk" / "DATA1.pkb.zip";
    {
        std::ofstream out(zip, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    NullLog log;
    pelko::catalog::DiscStore store(folder, log);
    store.OpenPath(zip);
    // Nothing but the archive itself may be in the folder afterwards: entries are never
    // extracted to the disk, whatever their names say.
    for (const auto& entry : fs::directory_iterator(folder / "Disk"))
        if (entry.path() != zip) __builtin_trap();
    return 0;
}
