#pragma once
// The message log of the start-up: the catalog and the settings store need a log before the
// main window (and its message pane) exists. Lines posted until then are kept and handed to the
// pane in order when it is set; afterwards every line goes straight through. Any thread.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "catalog/MessageLog.h"

namespace pelko::ui {

class ForwardingLog final : public catalog::MessageLog {
public:
    void Post(catalog::MessageKind kind, std::string_view text) override {
        std::unique_lock lock(m_mutex);
        if (!m_target) {
            if (!m_dropping) m_kept.emplace_back(kind, std::string(text));
            return;
        }
        catalog::MessageLog* target = m_target;
        lock.unlock();
        target->Post(kind, text);
    }

    // `target` must outlive every later post.
    void SetTarget(catalog::MessageLog* target) {
        std::vector<std::pair<catalog::MessageKind, std::string>> kept;
        {
            const std::lock_guard lock(m_mutex);
            m_target = target;
            kept.swap(m_kept);
        }
        for (const auto& [kind, text] : kept) target->Post(kind, text);
    }

    // Lines from now on are dropped: the target is going away (the pane goes with the window,
    // while the catalog and the settings store may still report as they end).
    void Detach() {
        const std::lock_guard lock(m_mutex);
        m_target = nullptr;
        m_dropping = true;
        m_kept.clear();
    }

private:
    std::mutex m_mutex;
    bool m_dropping = false;
    catalog::MessageLog* m_target = nullptr;
    std::vector<std::pair<catalog::MessageKind, std::string>> m_kept;
};

}  // namespace pelko::ui
