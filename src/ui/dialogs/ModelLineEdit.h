#pragma once
// A one-line field over model bytes. The bytes it was given come back unchanged while the
// shown text is untouched: a name holding bytes that do not decode (shown with U+FFFD) must not
// turn into a different name, and so into a rename, just because a dialog showed it.

#include <QLineEdit>

#include <string>
#include <string_view>

namespace pelko::ui {

class ModelLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ModelLineEdit(QWidget* parent = nullptr);

    void SetModelText(std::string_view modelText);
    // The original bytes when the text is as set, else the text as model bytes.
    std::string ModelText() const;

private:
    std::string m_original;
    QString m_shown;
};

}  // namespace pelko::ui
