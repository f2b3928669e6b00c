#pragma once
// How wide text is on a terminal, and fitting a line into it. Columns are counted per
// character as terminals draw them: East Asian wide and full-width characters (Chinese,
// Japanese, Korean, full-width forms, most emoji) take two, combining marks none, the rest one.

#include <string>
#include <string_view>

namespace pelko::cli {

// The columns `utf8` takes; a byte that does not start a valid sequence counts as one.
int DisplayColumns(std::string_view utf8);

// `utf8` within `columns`: as it is when it fits, else its start and its end joined by "...",
// cut between characters (a wide character that would straddle the cut is left out, so the
// result may be a column narrower). Below four columns only the dots that fit remain.
std::string ShortenMiddle(std::string_view utf8, int columns);

// The width of the terminal open at `fd`; 80 when it cannot be told.
int TerminalColumns(int fd);

}  // namespace pelko::cli
