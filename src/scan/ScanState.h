#pragma once
// Counters of one running scan, reset when the scan starts. Only the scan worker touches them.

#include <cstdint>

namespace pelko::scan {

struct ScanState {
    std::int32_t nScanFileCount = 0;  // file entries counted against the whole-scan limit
    std::int32_t nScanDepth = 0;      // depth of the folder about to be walked; the root is 0
    std::int32_t nScanPicCount = 0;   // pictures thumbnailed so far
    std::int32_t nDirFileCount = 0;   // file records added in the folder being walked
};

}  // namespace pelko::scan
