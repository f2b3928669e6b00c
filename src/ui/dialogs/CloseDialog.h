#pragma once
// "关闭Pelko－光盘管理工具": asks before the program closes, with the box "下次不再提示".

#include <QDialog>

class QCheckBox;

namespace pelko::ui {

class CloseDialog : public QDialog {
    Q_OBJECT
public:
    explicit CloseDialog(QWidget* parent = nullptr);
    bool DontAskAgain() const;
    QCheckBox* DontAskAgainBox() const { return m_dontAsk; }

private:
    QCheckBox* m_dontAsk = nullptr;
};

}  // namespace pelko::ui
