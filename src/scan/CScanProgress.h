#pragma once
// The progress window a scan reports to. Called from the scan worker thread; implementations
// marshal to their own thread. IsCancelled only ever goes from false to true.

#include <string_view>

namespace pelko::scan {

class CScanProgress {
public:
    virtual ~CScanProgress() = default;
    virtual bool IsCancelled() = 0;
    // The full path of the folder now being read (model bytes).
    virtual void ShowFolderPath(std::string_view path) = 0;
};

}  // namespace pelko::scan
