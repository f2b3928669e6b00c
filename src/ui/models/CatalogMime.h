#pragma once
// Dragged catalog objects as QMimeData, in the private format
// "application/x-pelko-catalog-objects".
//
// The data carries the objects' addresses and the id of the process that made it: a drag only
// ever moves objects within the one catalog of this process, so addresses are enough, and data
// from another process (another copy of the program, or a forged drop) is refused. The
// receiver still checks every address against the objects it shows before using it, because
// the catalog may have changed since the drag started.

#include <QStringList>

#include <optional>
#include <span>
#include <vector>

#include "shell/CatalogObject.h"

class QMimeData;

namespace pelko::ui {

inline constexpr char kCatalogObjectsMime[] = "application/x-pelko-catalog-objects";

QStringList CatalogMimeTypes();

// Null when there is nothing to carry.
QMimeData* EncodeCatalogObjects(std::span<const shell::CatalogObject> objects);

// The objects of data made by this process; nothing for other data or a damaged payload.
std::optional<std::vector<shell::CatalogObject>> DecodeCatalogObjects(const QMimeData* data);

// Whether dropped objects may be moved into `target`: each is a category or an entry that is
// still part of target's catalog (looked for from its root, so a stale address is never
// followed), none is the target itself, and the target does not lie inside a dragged category.
bool CanDropOn(const std::vector<shell::CatalogObject>& objects, const catalog::CCategory& target);

}  // namespace pelko::ui
