#pragma once
// A multi-line memo field over model bytes. Memos keep the catalog's CR LF line breaks: the
// field shows them as plain line breaks and gives back CR LF for every break typed. A memo left
// untouched comes back byte for byte, whatever its breaks or undecodable bytes were.

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace pelko::ui {

class MemoEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEdit(QWidget* parent = nullptr);

    void SetMemo(std::string_view modelText);
    std::string Memo() const;

private:
    std::string m_original;
    QString m_shown;
};

}  // namespace pelko::ui
