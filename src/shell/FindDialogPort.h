#pragma once
// The find dialog as the desktop program shows it: a modal window over a FindDialogModel.

namespace pelko::shell {

class FindDialogModel;

class FindDialogPort {
public:
    virtual ~FindDialogPort() = default;
    // Shows the dialog until it closes. Its OK button calls model.Accept and closes only when
    // that returns true. True when it closed with OK, false for Cancel.
    virtual bool RunFindDialog(FindDialogModel& model) = 0;
};

}  // namespace pelko::shell
