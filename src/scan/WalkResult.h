#pragma once
// How a walk over a medium ended. Every level of the walk returns one: a folder, an archive
// listing, a folder's thumbnails. A folder passes up the worst of its own and its sub-folders'
// results, so the caller of a whole scan learns what happened anywhere below the root.

#include <algorithm>
#include <cstdint>

#include "scan/CScanProgress.h"

namespace pelko::scan {

// From least to most severe; Worse() keeps the later one.
enum class WalkResult : std::uint8_t {
    Finished,        // everything the options allow was read; folders that could not be entered stay empty
    LimitReached,    // the whole-scan file limit was passed: later files are not recorded and the
                     // folders below the ones walked after that are left empty
    OutOfMemory,     // memory ran out in some folder, whose walk ended there; the others were walked
    Cancelled,       // the user cancelled; the walk unwound at once
    MediumGone,      // the medium left its drive; the walk unwound at once, as for a cancel
    RootUnreadable,  // the scanned folder itself could not be entered; nothing was read
};

constexpr WalkResult Worse(WalkResult a, WalkResult b) { return std::max(a, b); }

// True when the walk read everything the options allow: a walk that "ran to its end".
constexpr bool RanToEnd(WalkResult result) { return result == WalkResult::Finished; }

// True when the walk was ended from outside; such a result stops every walk above it at once.
constexpr bool Interrupted(WalkResult result) {
    return result == WalkResult::Cancelled || result == WalkResult::MediumGone;
}

// Why a progress window that reports a cancel wants the walk to end.
inline WalkResult CancelReason(const CScanProgress& progress) {
    return progress.MediumGone() ? WalkResult::MediumGone : WalkResult::Cancelled;
}

}  // namespace pelko::scan
