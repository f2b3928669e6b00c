#include "text/PackedString.h"

#include <ostream>

namespace pelko::text {

std::ostream& operator<<(std::ostream& out, const PackedString& text) { return out << text.view(); }

}  // namespace pelko::text
