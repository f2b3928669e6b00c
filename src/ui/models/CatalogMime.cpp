#include "ui/models/CatalogMime.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include <cstdint>
#include <memory>

namespace pelko::ui {
namespace {

using shell::CatalogObject;

// Variant index and address of each object. The ReadMe row has no object and is never carried.
quint64 AddressOf(const CatalogObject& object) {
    return std::visit(
        shell::Overloaded{
            [](shell::ReadmeRow) { return quint64{0}; },
            [](auto* pointer) { return static_cast<quint64>(reinterpret_cast<std::uintptr_t>(pointer)); },
        },
        object);
}

std::optional<CatalogObject> FromAddress(quint8 kind, quint64 address) {
    if (address == 0) return std::nullopt;
    const auto raw = static_cast<std::uintptr_t>(address);
    switch (kind) {
        case 0:
            return CatalogObject(reinterpret_cast<catalog::CCategory*>(raw));
        case 1:
            return CatalogObject(reinterpret_cast<catalog::CDiskInfo*>(raw));
        case 2:
            return CatalogObject(reinterpret_cast<catalog::CDir*>(raw));
        case 3:
            return CatalogObject(reinterpret_cast<catalog::CFileInfo*>(raw));
        default:
            return std::nullopt;
    }
}

bool Holds(const catalog::CCategory& category, const CatalogObject& object, int depth) {
    if (depth > catalog::CCategory::kMaxDepth) return false;
    for (const auto& entry : category.Entries()) {
        if (object == CatalogObject(entry.get())) return true;
    }
    for (const auto& sub : category.Subcategories()) {
        if (object == CatalogObject(sub.get()) || Holds(*sub, object, depth + 1)) return true;
    }
    return false;
}

const catalog::CCategory& TopOf(const catalog::CCategory& category) {
    const catalog::CCategory* top = &category;
    while (top->m_pParent) top = top->m_pParent;
    return *top;
}

}  // namespace

bool CanDropOn(const std::vector<CatalogObject>& objects, const catalog::CCategory& target) {
    if (objects.empty()) return false;
    const catalog::CCategory& root = TopOf(target);
    for (const CatalogObject& object : objects) {
        if (!Holds(root, object, 0)) return false;  // not (or no longer) a category or entry here
        if (const auto* category = std::get_if<catalog::CCategory*>(&object)) {
            if (target.IsWithin(**category)) return false;
        }
    }
    return true;
}

QStringList CatalogMimeTypes() { return {QString::fromLatin1(kCatalogObjectsMime)}; }

QMimeData* EncodeCatalogObjects(std::span<const CatalogObject> objects) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << static_cast<qint64>(QCoreApplication::applicationPid());
    quint32 count = 0;
    for (const CatalogObject& object : objects) count += AddressOf(object) != 0 ? 1 : 0;
    if (count == 0) return nullptr;
    out << count;
    for (const CatalogObject& object : objects) {
        if (AddressOf(object) == 0) continue;
        out << static_cast<quint8>(object.index()) << AddressOf(object);
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(kCatalogObjectsMime), bytes);
    return data.release();  // the caller (Qt's drag machinery) owns it
}

std::optional<std::vector<CatalogObject>> DecodeCatalogObjects(const QMimeData* data) {
    if (!data || !data->hasFormat(QString::fromLatin1(kCatalogObjectsMime))) return std::nullopt;
    QDataStream in(data->data(QString::fromLatin1(kCatalogObjectsMime)));
    qint64 pid = 0;
    quint32 count = 0;
    in >> pid >> count;
    if (in.status() != QDataStream::Ok || pid != QCoreApplication::applicationPid() || count == 0)
        return std::nullopt;
    std::vector<CatalogObject> objects;
    for (quint32 i = 0; i < count; ++i) {
        quint8 kind = 0;
        quint64 address = 0;
        in >> kind >> address;
        if (in.status() != QDataStream::Ok) return std::nullopt;
        std::optional<CatalogObject> object = FromAddress(kind, address);
        if (!object) return std::nullopt;
        objects.push_back(*object);
    }
    return objects;
}

}  // namespace pelko::ui
