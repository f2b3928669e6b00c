#pragma once
// Lets a failed expectation name a walk's result instead of printing its byte.

#include <ostream>

#include "scan/WalkResult.h"

namespace pelko::scan {

inline void PrintTo(WalkResult result, std::ostream* out) {
    switch (result) {
        case WalkResult::Finished:
            *out << "Finished";
            return;
        case WalkResult::LimitReached:
            *out << "LimitReached";
            return;
        case WalkResult::OutOfMemory:
            *out << "OutOfMemory";
            return;
        case WalkResult::Cancelled:
            *out << "Cancelled";
            return;
        case WalkResult::MediumGone:
            *out << "MediumGone";
            return;
        case WalkResult::RootUnreadable:
            *out << "RootUnreadable";
            return;
    }
    *out << "WalkResult(" << static_cast<int>(result) << ")";
}

}  // namespace pelko::scan
