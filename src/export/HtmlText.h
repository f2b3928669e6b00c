#pragma once
// Text made safe for a page: names and memos become text that no browser reads as markup, and
// file names become links a browser resolves.

#include <string>
#include <string_view>

namespace pelko::exporting {

// Appends `text` with "&", "<", ">" and '"' written as entities. Works on GBK/GB18030 bytes as
// they are: no trail byte of a multi-byte character is below 0x40, so only real characters are
// replaced, and text without those four characters is appended unchanged.
void AppendEscaped(std::string& out, std::string_view text);
std::string EscapeHtml(std::string_view text);

// One path segment of a link (UTF-8, the file-system name): every byte outside the letters,
// digits and "-._~" becomes %XX, so "#", "?", "%", "\", spaces and non-ASCII names all reach the
// file they name.
std::string PercentEncode(std::string_view segment);

}  // namespace pelko::exporting
