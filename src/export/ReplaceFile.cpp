#include "export/ReplaceFile.h"

#include <unistd.h>

#include <cerrno>

#include "platform/AtomicFile.h"

namespace pelko::exporting {

bool ReplaceFile(const std::filesystem::path& file, std::string_view bytes) {
    platform::AtomicFile out(file);
    if (!out.Create()) return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(out.Descriptor(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return out.Commit();
}

}  // namespace pelko::exporting
