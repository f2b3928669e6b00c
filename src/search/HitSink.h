#pragma once
// Receives the hit lines of a search, each a full catalog path (model bytes), in walk order.

#include <string>

namespace pelko::search {

class HitSink {
public:
    virtual ~HitSink() = default;
    virtual void Hit(std::string line) = 0;
};

}  // namespace pelko::search
