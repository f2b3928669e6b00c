#pragma once
// Where a running search shows how far it has come: the wait dialog implements it. Called from
// search threads; implementations marshal to their own thread and may drop updates (the dialog
// does while its "show progress" box is unchecked).

#include <string_view>

namespace pelko::search {

class FindProgress {
public:
    virtual ~FindProgress() = default;
    // The path of the folder now searched inside its scan object (empty for the root).
    virtual void ShowFolderPath(std::string_view path) = 0;
    // How far through the current folder's files or sub-folders, 0..100.
    virtual void ShowProgress(int percent) = 0;
};

}  // namespace pelko::search
