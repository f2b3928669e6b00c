#include "ui/text/QtText.h"

#include "text/Codec.h"

namespace pelko::ui {

QString ToQt(std::string_view modelText) {
    const std::string utf8 = text::ToUtf8(modelText);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text) { return text::FromUtf8(text.toStdString()); }

}  // namespace pelko::ui
