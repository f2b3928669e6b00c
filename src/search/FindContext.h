#pragma once
// The state every step of one search shares: the criteria with their words split and matched,
// the running flag that asks the walk to stop, and the progress sink.

#include <atomic>
#include <string>

#include "search/FindCriteria.h"
#include "search/FindProgress.h"
#include "search/Matcher.h"

namespace pelko::search {

struct FindContext {
    FindContext(const FindCriteria& criteria, const std::atomic<bool>& running, FindProgress* progress)
        : matcher(SplitWords(criteria.text), criteria.partMatch, criteria.caseSensitive),
          onlyThisCategory(criteria.onlyThisCategory),
          targets(criteria.targets),
          readme(criteria.readme),
          running(running),
          progress(progress) {}

    bool IsRunning() const { return running.load(std::memory_order_relaxed); }

    Matcher matcher;  // holds the words and the star split
    bool onlyThisCategory;
    int targets;
    bool readme;
    const std::atomic<bool>& running;  // cleared by Cancel; polled at the walk's stop points
    FindProgress* progress;            // may be null
};

}  // namespace pelko::search
