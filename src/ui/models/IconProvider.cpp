#include "ui/models/IconProvider.h"

#include <QMimeDatabase>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "catalog/IconKeys.h"
#include "ui/text/QtText.h"

namespace pelko::ui {
namespace {

// Freedesktop names for the fixed keys.
constexpr std::pair<std::string_view, const char*> kThemeNames[] = {
    {catalog::kIconCategory, "folder-documents"},
    {catalog::kIconDisk, "media-optical"},
    {catalog::kIconDiscInfo, "text-x-generic"},
    {catalog::kIconFixedDisk, "drive-harddisk"},
    {catalog::kIconZipDir, "package-x-generic"},
    {catalog::kIconFixedDir, "folder-remote"},
    {catalog::kIconDir, "folder"},
    {catalog::kIconRarDir, "package-x-generic"},
    {catalog::kIconUnknown, "unknown"},
};

}  // namespace

QIcon ThemeIconFor(std::string_view key) {
    const auto fixed = std::find_if(std::begin(kThemeNames), std::end(kThemeNames),
                                    [&](const auto& entry) { return entry.first == key; });
    if (fixed != std::end(kThemeNames)) {
        const QString resource = QStringLiteral(":/icons/%1.svg").arg(Tr(key));
        return QIcon::fromTheme(QString::fromLatin1(fixed->second), QIcon(resource));
    }
    static const QMimeDatabase mimes;  // read-only after construction; thread-safe to query
    const QMimeType type = mimes.mimeTypeForFile(ToQt(key), QMimeDatabase::MatchExtension);
    return QIcon::fromTheme(type.iconName(),
                            QIcon::fromTheme(type.genericIconName(), QIcon(QStringLiteral(":/icons/file.svg"))));
}

IconProvider CachedIcons(IconProvider source) {
    auto cache = std::make_shared<std::unordered_map<std::string, QIcon>>();
    return [source = std::move(source), cache](std::string_view key) {
        const bool fixed = std::find(catalog::kFixedIconKeys.begin(), catalog::kFixedIconKeys.end(), key) !=
                           catalog::kFixedIconKeys.end();
        std::string id = fixed ? std::string(key) : catalog::IconKeys::ExtensionKey(key);
        if (const auto found = cache->find(id); found != cache->end()) return found->second;
        QIcon icon = source ? source(key) : QIcon();
        cache->emplace(std::move(id), icon);
        return icon;
    };
}

}  // namespace pelko::ui
