#pragma once
// The texts and icon keys of the content list's cells, as model bytes. Made on demand for the
// row being painted; nothing is copied into the model.

#include <string>
#include <string_view>

#include "shell/CatalogObject.h"
#include "shell/ViewOrder.h"

namespace pelko::ui {

// Size text of a file and of a folder's total: "%.3f MB" for every size, 0 included
// (1536 bytes give "0.001 MB", an empty file "0.000 MB").
std::string SizeText(double bytes);

// A file name as listed: without its extension (from the last ".") unless `showExtension`.
// A name whose only "." is its first character (".profile") has no extension and stays whole.
std::string_view ListedFileName(std::string_view name, bool showExtension);

struct CellOptions {
    bool showExtensions = true;
    // Byte total below a folder; the list passes its cache.
    shell::FolderBytes folderBytes;
};

std::string CellText(const shell::CatalogObject& row, shell::ListField field, const CellOptions& options);

// The icon key of a row: "cdinfo", "category", the kind key of an entry, the folder keys, and
// for a file "zipdir"/"rardir" by its lower-cased name, else its name (the extension decides).
std::string IconKeyOfRow(const shell::CatalogObject& row);

// The memo of a row (empty for the ReadMe row).
std::string_view MemoOfRow(const shell::CatalogObject& row);

}  // namespace pelko::ui
