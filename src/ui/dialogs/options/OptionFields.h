#pragma once
// What the option dialogs share: their set-up as modal dialogs named by their title, check boxes,
// radio buttons and labels named by their text, and whole-number fields checked against the
// range an option allows when the dialog is confirmed.

#include <QString>

#include <optional>
#include <string>

class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace pelko::catalog {
class UserInterface;
}

namespace pelko::ui {

struct IntRange {
    int low;
    int high;
};

// Makes `dialog` modal, with `utf8Title` as its title and accessible name.
void SetUpOptionDialog(QDialog& dialog, const char* objectName, const char* utf8Title);

// A check box with `text` (UTF-8) as its text and accessible name.
QCheckBox* OptionCheck(QWidget& parent, const char* objectName, const char* utf8Text, bool checked);

// A radio button with `text` (UTF-8) as its text and accessible name. Radio buttons with the
// same parent form one exclusive group.
QRadioButton* OptionRadio(QWidget& parent, const char* objectName, const char* utf8Text);

// A label with `text` (UTF-8) as its text and accessible name.
QLabel* OptionLabel(QWidget& parent, const char* utf8Text);

// A field holding `value`, with `accessibleName` for screen readers (fields have no text of
// their own; they take the name of the box or label that introduces them).
QLineEdit* NumberField(QWidget& parent, const char* objectName, const QString& accessibleName, int value);

// The whole number typed, blanks at both ends ignored, when it lies in `range`.
std::optional<int> NumberInRange(const QString& typed, IntRange range);

// "请输入一个介于 low 和 high 之间的整数。" as model bytes, for UserInterface::ShowMessage.
std::string RangeMessage(IntRange range);

// The field's number when it lies in `range`. Otherwise shows the range message, selects the
// field's text and gives it the focus — or gives the focus to `owner` (the box that enables it)
// while the field is disabled, since only that box lets the user reach the field — and returns
// nothing.
std::optional<int> CheckedNumber(QLineEdit& field, IntRange range, catalog::UserInterface& ui,
                                 QWidget& owner);

}  // namespace pelko::ui
