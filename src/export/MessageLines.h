#pragma once
// The rules of the message pane that need no widget: how a posted line reads and what colour it
// has, when the line-limit warning follows, which lines name a catalog item, where a line names
// a scan object, and which file names are saved or loaded as text or RTF.
//
// All functions are pure and thread-safe; strings are model bytes unless said otherwise.

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/MessageLog.h"
#include "export/RtfText.h"

namespace pelko::catalog {
class CCategory;
}

namespace pelko::exporting {

// More lines than this in the pane draw the line-limit warning after every append.
inline constexpr int kMessageLineLimit = 65535;
// The red line appended (without a prefix) once the pane holds more than kMessageLineLimit lines.
std::string MessageLimitWarning();
inline constexpr Rgb kLimitWarningColour{255, 0, 0};
// Scan-object names are coloured with this by the idle highlighting.
inline constexpr Rgb kHighlightColour{255, 0, 0};
// Point size of every line.
inline constexpr int kMessagePointSize = 9;

Rgb MessageColour(catalog::MessageKind kind);

// "2006-3-5 9:7:2" (no leading zeros), CR LF, and a rule of 56 "^".
std::string TimeStampText(const std::tm& local);

// The line a post of `kind` writes, without its closing CR LF: the kind's prefix and `text`, or
// for a time stamp the stamp of `now` in place of `text`.
std::string MessageLine(catalog::MessageKind kind, std::string_view text, const std::tm& now);

// Whether the tree's go-to-path would recognise the line: its first part (up to the first "\",
// blanks trimmed) equals `rootName` without regard to case. An empty root name names nothing.
bool NamesCatalogItem(std::string_view line, std::string_view rootName);

struct ByteSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
    friend bool operator==(const ByteSpan&, const ByteSpan&) = default;
};

// Lines longer than this are examined only up to here by the highlighting.
inline constexpr std::size_t kHighlightLineBytes = 4096;

// Where the line names a scan object of the catalog: after the first "Pelko\" the parts between
// "\" walk down from `root` (a part naming a sub-category of the current category enters it,
// others are passed over) and the first part naming an entry of the current category is the
// answer. Exact byte comparison; at most kHighlightLineBytes of the line are read.
std::optional<ByteSpan> FindScanObjectName(std::string_view line, const catalog::CCategory& root);

enum class PaneFileKind { Nothing, PlainText, Rtf };
// `fileName` in any encoding that keeps ASCII (UTF-8 from the file dialog).
PaneFileKind SaveKindFor(std::string_view fileName);  // ".txt" anywhere: text; else RTF
PaneFileKind LoadKindFor(std::string_view fileName);  // ".txt": text; else ".rtf": RTF; else nothing

// Pane text ("\n" between lines) as a text file: CR LF line ends, bytes unchanged.
std::string ToCrLf(std::string_view text);
// A text file's content as pane text: CR LF and lone CR become "\n".
std::string FromCrLf(std::string_view text);

}  // namespace pelko::exporting
