#include "ui/dialogs/options/OptionFields.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "catalog/UserInterface.h"
#include "ui/text/QtText.h"

namespace pelko::ui {

void SetUpOptionDialog(QDialog& dialog, const char* objectName, const char* utf8Title) {
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setWindowTitle(Tr(utf8Title));
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setModal(true);
}

QCheckBox* OptionCheck(QWidget& parent, const char* objectName, const char* utf8Text, bool checked) {
    auto* box = new QCheckBox(Tr(utf8Text), &parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setAccessibleName(box->text());
    box->setChecked(checked);
    return box;
}

QRadioButton* OptionRadio(QWidget& parent, const char* objectName, const char* utf8Text) {
    auto* button = new QRadioButton(Tr(utf8Text), &parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAccessibleName(button->text());
    return button;
}

QLabel* OptionLabel(QWidget& parent, const char* utf8Text) {
    auto* label = new QLabel(Tr(utf8Text), &parent);
    label->setAccessibleName(label->text());
    return label;
}

QLineEdit* NumberField(QWidget& parent, const char* objectName, const QString& accessibleName, int value) {
    auto* field = new QLineEdit(QString::number(value), &parent);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setAccessibleName(accessibleName);
    field->setMaximumWidth(96);
    return field;
}

std::optional<int> NumberInRange(const QString& typed, IntRange range) {
    bool isNumber = false;
    const int value = typed.trimmed().toInt(&isNumber, 10);
    if (!isNumber || value < range.low || value > range.high) return std::nullopt;
    return value;
}

std::string RangeMessage(IntRange range) {
    return FromQt(Tr("请输入一个介于 %1 和 %2 之间的整数。").arg(range.low).arg(range.high));
}

std::optional<int> CheckedNumber(QLineEdit& field, IntRange range, catalog::UserInterface& ui,
                                 QWidget& owner) {
    if (std::optional<int> value = NumberInRange(field.text(), range)) return value;
    ui.ShowMessage(RangeMessage(range));
    field.selectAll();
    if (field.isEnabled()) {
        field.setFocus();
    } else {
        owner.setFocus();
    }
    return std::nullopt;
}

}  // namespace pelko::ui
