#pragma once
// The page templates the program carries: the page every export is built on, the help page and
// the questions-and-answers page. Their bytes are GBK text with CR LF line ends, exactly as
// written out.

#include <optional>
#include <string_view>

namespace pelko::exporting {

inline constexpr int kPageTemplate = 181;  // exported pages and index pages
inline constexpr int kHelpTemplate = 184;  // "help.htm"
inline constexpr int kFaqTemplate = 108;   // "faq.htm"

// Where the generated content goes in the page template.
inline constexpr std::string_view kPlaceholder = "##CATINDEX_TEMPL";

// The bytes of a template, or nullopt when the program has none of that number.
std::optional<std::string_view> TemplateBytes(int id);

}  // namespace pelko::exporting
