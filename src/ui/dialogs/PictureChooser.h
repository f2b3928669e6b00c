#pragma once
// The file chooser of the cover-picture import.

#include <QString>

#include <filesystem>
#include <optional>
#include <string_view>

class QWidget;

namespace pelko::ui {

// A filter written the Windows way ("text|patterns|text|patterns||", patterns separated by
// ";") in Qt's form: entries joined by ";;", each "text (patterns)" with the patterns separated
// by blanks. A text that already lists its patterns in brackets has them rewritten in place, so
// the user sees the same words.
QString QtFileFilter(std::string_view windowsFilter);

// The cover picture to import (BMP or JPEG), or null when the user cancelled.
std::optional<std::filesystem::path> ChooseCoverPicture(QWidget* parent);

}  // namespace pelko::ui
