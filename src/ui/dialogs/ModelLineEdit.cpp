#include "ui/dialogs/ModelLineEdit.h"

#include "ui/text/QtText.h"

namespace pelko::ui {

ModelLineEdit::ModelLineEdit(QWidget* parent) : QLineEdit(parent) {}

void ModelLineEdit::SetModelText(std::string_view modelText) {
    m_original.assign(modelText);
    setText(ToQt(modelText));
    m_shown = text();
}

std::string ModelLineEdit::ModelText() const { return text() == m_shown ? m_original : FromQt(text()); }

}  // namespace pelko::ui
