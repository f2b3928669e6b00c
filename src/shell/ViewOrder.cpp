#include "shell/ViewOrder.h"

#include "catalog/Statistics.h"
#include "text/MbString.h"

namespace pelko::shell {
namespace {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;

unsigned char Upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareCategories(const CCategory& a, const CCategory& b, ListField field) {
    switch (field) {
        case ListField::Name:
            return text::CompareNoCase(a.m_strName, b.m_strName);
        case ListField::Size:
            return Sign(catalog::AggregateCategory(a).currentBytes,
                        catalog::AggregateCategory(b).currentBytes);
        case ListField::Memo:
            return text::CompareNoCase(a.m_strMemo, b.m_strMemo);
        default:
            return 0;
    }
}

int CompareEntries(const CDiskInfo& a, const CDiskInfo& b, ListField field) {
    switch (field) {
        case ListField::Name:
            return text::CompareNoCase(a.m_strName, b.m_strName);
        case ListField::Kind:
            return Sign(a.m_nKind, b.m_nKind);
        case ListField::Size:
            return Sign(a.m_dCurrentBytes, b.m_dCurrentBytes);
        case ListField::Memo:
            return text::CompareNoCase(a.m_strMemo, b.m_strMemo);
        case ListField::Tag:
            if (const int byLabel = text::CompareNoCase(a.m_strVolumeLabel, b.m_strVolumeLabel))
                return byLabel;
            return Sign(a.m_dwVolumeSerial, b.m_dwVolumeSerial);
        default:
            return 0;
    }
}

int CompareFolders(const CDir& a, const CDir& b, ListField field, const FolderBytes& folderBytes) {
    switch (field) {
        case ListField::Name:
            return text::CompareNoCase(a.m_strName, b.m_strName);
        case ListField::Size:
            if (folderBytes) return Sign(folderBytes(a), folderBytes(b));
            return Sign(catalog::AggregateFolder(a).bytes, catalog::AggregateFolder(b).bytes);
        case ListField::Memo:
            return text::CompareNoCase(a.m_strMemo, b.m_strMemo);
        default:
            return 0;
    }
}

int CompareFiles(const CFileInfo& a, const CFileInfo& b, ListField field) {
    switch (field) {
        case ListField::Name:
            return text::CompareNoCase(a.m_strName, b.m_strName);
        case ListField::Size:
            return Sign(a.Size(), b.Size());
        case ListField::Time:
            return Sign(a.m_ftTime, b.m_ftTime);
        case ListField::Memo:
            return text::CompareNoCase(a.m_strMemo, b.m_strMemo);
        default:
            return 0;
    }
}

}  // namespace

std::string_view NameOf(const CatalogObject& object) {
    return std::visit(Overloaded{
                          [](CCategory* c) { return std::string_view(c->m_strName); },
                          [](CDiskInfo* e) { return std::string_view(e->m_strName); },
                          [](CDir* d) {
                              const catalog::CCD* cd = d->AsCD();
                              return cd ? std::string_view(cd->m_strDisplayName) : d->m_strName.view();
                          },
                          [](CFileInfo* f) { return f->m_strName.view(); },
                          [](ReadmeRow) { return std::string_view("ReadMe"); },
                      },
                      object);
}

int CompareUpperBytes(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Upper(static_cast<unsigned char>(a[i]));
        const unsigned char y = Upper(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return Sign(a.size(), b.size());
}

bool TreeOrderBefore(const CatalogObject& a, const CatalogObject& b) {
    // The open scan object's node shows its CCD but stands among the entries.
    auto rank = [](const CatalogObject& object) {
        const auto* dir = std::get_if<CDir*>(&object);
        return dir && (*dir)->AsCD() ? KindRank(CatalogObject(static_cast<CDiskInfo*>(nullptr)))
                                     : KindRank(object);
    };
    const int rankA = rank(a);
    const int rankB = rank(b);
    if (rankA != rankB) return rankA < rankB;
    if (rankA == KindRank(CatalogObject(static_cast<CDir*>(nullptr))))
        return text::CompareNoCase(NameOf(a), NameOf(b)) < 0;
    return CompareUpperBytes(NameOf(a), NameOf(b)) < 0;
}

int KindRank(const CatalogObject& object) {
    return std::visit(Overloaded{
                          [](ReadmeRow) { return 0; },
                          [](CCategory*) { return 1; },
                          [](CDiskInfo*) { return 2; },
                          [](CDir*) { return 3; },
                          [](CFileInfo*) { return 4; },
                      },
                      object);
}

int CompareRows(const CatalogObject& a, const CatalogObject& b, ListField field,
                const FolderBytes& folderBytes) {
    if (a.index() != b.index()) return 0;
    return std::visit(
        Overloaded{
            [&](CCategory* c) { return CompareCategories(*c, *std::get<CCategory*>(b), field); },
            [&](CDiskInfo* e) { return CompareEntries(*e, *std::get<CDiskInfo*>(b), field); },
            [&](CDir* d) { return CompareFolders(*d, *std::get<CDir*>(b), field, folderBytes); },
            [&](CFileInfo* f) { return CompareFiles(*f, *std::get<CFileInfo*>(b), field); },
            [](ReadmeRow) { return 0; },
        },
        a);
}

}  // namespace pelko::shell
