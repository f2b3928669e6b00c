#pragma once
// The small icon of a Windows program (PE32 or PE32+): the first icon group of its resources
// in directory order, and of that group the 16 x 16 image of the most colours, or, when the
// group has no 16 x 16 image, the image whose size is nearest, scaled to 16 x 16.

#include <memory>

#include "catalog/ImageList.h"
#include "scan/ByteSource.h"

namespace pelko::scan {

// Null for a file that is not a program, has no icon group or whose icon cannot be decoded.
std::unique_ptr<catalog::IconImage> ExtractProgramIcon(ByteSource& source);

}  // namespace pelko::scan
