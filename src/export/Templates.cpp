#include "export/Templates.h"

#include "EmbeddedFile.h"

namespace pelko::exporting {

std::optional<std::string_view> TemplateBytes(int id) {
    for (int i = 0; i < kEmbeddedFileCount; ++i) {
        const EmbeddedFile& file = kEmbeddedFiles[i];
        if (file.id == id) return std::string_view(reinterpret_cast<const char*>(file.bytes), file.size);
    }
    return std::nullopt;
}

}  // namespace pelko::exporting
