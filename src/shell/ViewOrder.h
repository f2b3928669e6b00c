#pragma once
// The order in which the tree and the content list show catalog objects.
//
// Tree: a category's children put sub-categories before entries, and within a kind compare
// their names upper-cased, byte by byte; a folder's children compare by name without regard to
// case. List: rows are sorted by one field at a time, only among rows of the same kind; rows
// of different kinds keep the kind order (ReadMe row, categories, entries, folders, files).

#include <functional>
#include <string_view>

#include "shell/CatalogObject.h"

namespace pelko::shell {

// The name an object is shown and ordered by (the open scan object's CCD by its entry's name,
// which the editor keeps in m_strDisplayName).
std::string_view NameOf(const CatalogObject& object);

// Single-byte letters upper-cased, then unsigned bytes compared; <0, 0 or >0.
int CompareUpperBytes(std::string_view a, std::string_view b);

// Strict order of two siblings in the tree (both children of one category, or of one folder).
// The open scan object (a CCD) ranks as the entry it stands for.
bool TreeOrderBefore(const CatalogObject& a, const CatalogObject& b);

// The place of a row's kind in the list: ReadMe row 0, category 1, entry 2, folder 3, file 4.
int KindRank(const CatalogObject& object);

// What a list column shows; the columns of a shown node are a selection of these.
enum class ListField { Name, Kind, Size, Time, Memo, Tag };

// Byte total below a folder; the list passes its cache, the default walks the folder.
using FolderBytes = std::function<double(const catalog::CDir&)>;

// Compares two rows of the same kind by one field (<0, 0 or >0); rows of different kinds, and
// fields a kind does not show, compare equal. Names and memos compare without regard to case,
// sizes and times by value; entries' kinds by kind code and tags by label, then serial.
int CompareRows(const CatalogObject& a, const CatalogObject& b, ListField field,
                const FolderBytes& folderBytes = {});

}  // namespace pelko::shell
