#pragma once
// What the two catalog models share with their views: the role that hands out a row's catalog
// object, and the type that carries it in a QVariant.

#include <QMetaType>
#include <Qt>

#include "shell/CatalogObject.h"

namespace pelko::ui {

// data(index, ObjectRole) holds a CatalogObjectRef with the row's object.
inline constexpr int ObjectRole = Qt::UserRole + 1;

struct CatalogObjectRef {
    shell::CatalogObject object;
};

}  // namespace pelko::ui

Q_DECLARE_METATYPE(pelko::ui::CatalogObjectRef)
