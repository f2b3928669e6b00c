#include "ui/models/ContentTexts.h"

#include "catalog/IconKeys.h"
#include "catalog/Statistics.h"
#include "text/Codec.h"
#include "text/MbString.h"

namespace pelko::ui {
namespace {

using catalog::CCategory;
using catalog::CDir;
using catalog::CDiskInfo;
using catalog::CFileInfo;
using shell::ListField;

std::string EntryKindText(std::uint8_t kind) {
    switch (kind) {
        case catalog::CCD::kKindDisk:
            return text::Local("光盘");
        case catalog::CCD::kKindFixedDisk:
            return text::Local("硬盘");
        case catalog::CCD::kKindFixedDir:
            return text::Local("硬盘目录");
        default:
            return {};
    }
}

bool NameHas(std::string_view name, std::string_view lowerNeedle) {
    return text::FindWhole(text::AsciiLower(name), lowerNeedle) != std::string::npos;
}

std::string CategoryCell(const CCategory& category, ListField field) {
    switch (field) {
        case ListField::Name:
            return category.m_strName;
        case ListField::Kind:
            return text::Local("类别");
        case ListField::Size:
            return catalog::CategorySizeText(category);
        case ListField::Memo:
            return category.m_strMemo;
        default:
            return {};
    }
}

std::string EntryCell(const CDiskInfo& entry, ListField field) {
    switch (field) {
        case ListField::Name:
            return entry.m_strName;
        case ListField::Kind:
            return EntryKindText(entry.m_nKind);
        case ListField::Size:
            return catalog::EntrySizeText(entry);
        case ListField::Memo:
            return entry.m_strMemo;
        case ListField::Tag:
            // The stem of the disc file's name, "%s%lu" of label and serial.
            return entry.m_strVolumeLabel + std::to_string(entry.m_dwVolumeSerial);
        default:
            return {};
    }
}

std::string FolderCell(const CDir& dir, ListField field, const CellOptions& options) {
    switch (field) {
        case ListField::Name:
            return dir.m_strName.str();
        case ListField::Size: {
            const double bytes =
                options.folderBytes ? options.folderBytes(dir) : catalog::AggregateFolder(dir).bytes;
            return text::LocalWith("文件夹(%s)", SizeText(bytes));
        }
        case ListField::Memo:
            return dir.m_strMemo.str();
        default:
            return {};
    }
}

std::string FileCell(const CFileInfo& file, ListField field, const CellOptions& options) {
    switch (field) {
        case ListField::Name:
            return std::string(ListedFileName(file.m_strName, options.showExtensions));
        case ListField::Size:
            return SizeText(static_cast<double>(file.Size()));
        case ListField::Time:
            return catalog::FileTimeText(file.m_ftTime);
        case ListField::Memo:
            return file.m_strMemo.str();
        default:
            return {};
    }
}

}  // namespace

std::string SizeText(double bytes) { return catalog::MegabytesText(bytes) + " MB"; }

std::string_view ListedFileName(std::string_view name, bool showExtension) {
    if (showExtension) return name;
    const std::size_t dot = text::FindLastChar(name, '.');
    if (dot == std::string_view::npos || dot == 0) return name;
    return name.substr(0, dot);
}

std::string CellText(const shell::CatalogObject& row, ListField field, const CellOptions& options) {
    return std::visit(shell::Overloaded{
                          [&](CCategory* c) { return CategoryCell(*c, field); },
                          [&](CDiskInfo* e) { return EntryCell(*e, field); },
                          [&](CDir* d) { return FolderCell(*d, field, options); },
                          [&](CFileInfo* f) { return FileCell(*f, field, options); },
                          [&](shell::ReadmeRow) {
                              return field == ListField::Name ? std::string("ReadMe") : std::string();
                          },
                      },
                      row);
}

std::string IconKeyOfRow(const shell::CatalogObject& row) {
    return std::visit(shell::Overloaded{
                          [](CCategory* c) { return std::string(catalog::IconKeyOf(*c)); },
                          [](CDiskInfo* e) { return std::string(catalog::IconKeyOf(*e)); },
                          [](CDir* d) { return std::string(catalog::IconKeyOf(*d)); },
                          [](CFileInfo* f) {
                              if (NameHas(f->m_strName, ".zip")) return std::string(catalog::kIconZipDir);
                              if (NameHas(f->m_strName, ".rar")) return std::string(catalog::kIconRarDir);
                              return std::string(catalog::IconKeyOf(*f));
                          },
                          [](shell::ReadmeRow) { return std::string(catalog::kIconDiscInfo); },
                      },
                      row);
}

std::string_view MemoOfRow(const shell::CatalogObject& row) {
    return std::visit(shell::Overloaded{
                          [](CCategory* c) { return std::string_view(c->m_strMemo); },
                          [](CDiskInfo* e) { return std::string_view(e->m_strMemo); },
                          [](CDir* d) { return d->m_strMemo.view(); },
                          [](CFileInfo* f) { return f->m_strMemo.view(); },
                          [](shell::ReadmeRow) { return std::string_view(); },
                      },
                      row);
}

}  // namespace pelko::ui
