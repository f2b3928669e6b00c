#pragma once
// Opens a file or folder with the desktop's default program (a page in the browser, a folder in
// the file manager). The desktop program implements it over xdg-open; tests record the calls.

#include <filesystem>

namespace pelko::exporting {

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when no program could be started for it.
    virtual bool Open(const std::filesystem::path& file) = 0;
};

}  // namespace pelko::exporting
