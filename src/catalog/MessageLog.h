#pragma once
// The message log: where the libraries report failures and results as lines of a kind.
// The desktop program shows them in its message pane, pelko-cli prints them with the kind's
// prefix, tests record them. Implementations must accept posts from any thread.

#include <string>
#include <string_view>

namespace pelko::catalog {

enum class MessageKind : int {
    Hint = 1,
    Warning = 2,
    Error = 3,
    TimeStamp = 4,
    Result = 6,
    Detail = 7,
};

class MessageLog {
public:
    virtual ~MessageLog() = default;
    // `text` is in model bytes (GBK/GB18030).
    virtual void Post(MessageKind kind, std::string_view text) = 0;
};

// The prefix a line of this kind starts with, in model bytes ("错误：  " for errors; eight
// spaces for results and details; empty for time stamps).
std::string MessagePrefix(MessageKind kind);

}  // namespace pelko::catalog
