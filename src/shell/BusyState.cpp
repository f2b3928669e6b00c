#include "shell/BusyState.h"

#include "catalog/MessageLog.h"
#include "text/Codec.h"

namespace pelko::shell {

bool BusyState::Refuses(const BusyTexts& texts, catalog::MessageLog& log) const {
    switch (Get()) {
        case Busy::Idle:
            return false;
        case Busy::Scanning:
            if (texts.whileScanning.empty()) return false;
            log.Post(catalog::MessageKind::Error, text::Local(texts.whileScanning));
            return true;
        case Busy::Searching:
            log.Post(catalog::MessageKind::Error, text::Local(texts.whileSearching));
            return true;
    }
    return false;
}

}  // namespace pelko::shell
