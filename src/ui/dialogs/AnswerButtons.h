#pragma once
// The buttons every dialog of the program ends with: "确认" (the default, accepting the dialog)
// and, unless there is none, a cancel button with the given text (rejecting it). Both carry
// their text as accessible name.

#include <QString>

#include <optional>

class QDialog;
class QDialogButtonBox;

namespace pelko::ui {

// Made as a child of `dialog` and wired to its accept() and reject().
QDialogButtonBox* AnswerButtons(QDialog& dialog, const std::optional<QString>& cancelText);

}  // namespace pelko::ui
