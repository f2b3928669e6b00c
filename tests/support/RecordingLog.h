#pragma once
// A message log that keeps every line for the test to inspect.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "catalog/MessageLog.h"
#include "text/Codec.h"

namespace pelko::test {

class RecordingLog final : public catalog::MessageLog {
public:
    void Post(catalog::MessageKind kind, std::string_view text) override {
        const std::lock_guard lock(m_mutex);
        m_lines.emplace_back(kind, std::string(text));
    }
    std::vector<std::pair<catalog::MessageKind, std::string>> Lines() const {
        const std::lock_guard lock(m_mutex);
        return m_lines;
    }

    // The lines of one kind, as UTF-8.
    std::vector<std::string> Utf8Lines(catalog::MessageKind kind) const {
        std::vector<std::string> out;
        for (const auto& line : Lines())
            if (line.first == kind) out.push_back(text::ToUtf8(line.second));
        return out;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<catalog::MessageKind, std::string>> m_lines;
};

}  // namespace pelko::test
