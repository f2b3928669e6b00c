#pragma once
// "新光盘": asks whether a disc just inserted is to be added to the catalog. "确认" accepts.

#include <QDialog>
#include <QString>

#include <string_view>

class QLabel;

namespace pelko::ui {

// The question for a disc with volume label `label` (model bytes; may be empty).
QString NewDiscQuestion(std::string_view label);

class NewDiscDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewDiscDialog(std::string_view label, QWidget* parent = nullptr);

    QString Question() const;

private:
    QLabel* m_question = nullptr;
};

}  // namespace pelko::ui
