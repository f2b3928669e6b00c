#pragma once
// Prints a loaded disc: as an indented listing for people, as one JSON object for scripts and
// tests, or as a short summary with recounted totals.

#include <iosfwd>

namespace pelko::catalog {
class CCD;
}

namespace pelko::cli {

void PrintDiscListing(std::ostream& out, const catalog::CCD& cd);
void PrintDiscJson(std::ostream& out, const catalog::CCD& cd);
// Label, serial, kind and the totals recounted over the tree.
void PrintDiscSummary(std::ostream& out, const catalog::CCD& cd);

}  // namespace pelko::cli
