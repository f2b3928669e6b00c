#include "catalog/MessageLog.h"

#include "text/Codec.h"

namespace pelko::catalog {

std::string MessagePrefix(MessageKind kind) {
    switch (kind) {
        case MessageKind::Hint:
            return text::Local("提示：  ");
        case MessageKind::Warning:
            return text::Local("警告：  ");
        case MessageKind::Error:
            return text::Local("错误：  ");
        case MessageKind::TimeStamp:
            return {};
        case MessageKind::Result:
        case MessageKind::Detail:
            return std::string(8, ' ');
    }
    return {};
}

}  // namespace pelko::catalog
