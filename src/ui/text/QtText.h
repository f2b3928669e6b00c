#pragma once
// The one place where model bytes (GBK/GB18030) become Qt strings and back. Widgets never hold
// model text any other way.

#include <QString>

#include <string>
#include <string_view>

namespace pelko::ui {

// A model string as Qt text.
QString ToQt(std::string_view modelText);
// Qt text as model bytes; characters GBK lacks take their GB18030 bytes.
std::string FromQt(const QString& text);
// A UTF-8 literal of the program's own texts as Qt text.
inline QString Tr(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace pelko::ui
